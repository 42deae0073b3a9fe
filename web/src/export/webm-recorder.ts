// SPDX-License-Identifier: GPL-3.0-or-later
// The plot recorded as a WebM video while the animation runs: the canvas's stream takes a frame
// only when asked, once after each drawn frame, so that the video holds the frames the page drew
// and no copies between them. A red REC sign over the plot's top-left shows the length so far.
import { translate, type Language } from '../i18n/catalogue';
import { download } from './download';
import { recSignText, webmType } from './recording-text';
import './webm-recorder.css';

export interface Recorder {
  recording(): boolean;
  /** null where recording began, else the sentence why it cannot. */
  start(): string | null;
  /** Ends the recording and downloads halvoran-radiation.webm. */
  stop(): Promise<void>;
  /** After each drawn frame. */
  frame(): void;
  setLanguage(language: Language): void;
}

// The desktop's live H.264 recording of a full-screen plot whose whole field moves (1920 x 1032,
// 60 pictures a second) takes about 15 Mbit/s at its closeness; the browser's real-time VP8/VP9
// encoders hold a rate rather than a quality, and at 12 Mbit/s (a fifth of the 60 Mbit/s such a
// recording took before) its fine lines keep their edges while the file stays as compact.
const BitsPerSecond = 12_000_000;
// The recorder hands its data on every this often, so that a long recording is not one buffer.
const SliceMs = 1000;

interface Session {
  recorder: MediaRecorder;
  stream: MediaStream;
  track: CanvasCaptureMediaStreamTrack | null;
  chunks: Blob[];
  startedAt: number;
}

export function createRecorder(canvas: HTMLCanvasElement, recSign: HTMLElement,
                               language: Language): Recorder {
  let current = language;
  let session: Session | null = null;
  recSign.classList.add('rec-sign');
  recSign.dataset.recording = 'false';
  recSign.hidden = true;

  function showSign() {
    if (!session) return;
    const text = recSignText(performance.now() - session.startedAt, current);
    // Written only when it reads differently, once a second.
    if (recSign.textContent !== text) recSign.textContent = text;
  }

  function start(): string | null {
    if (session) return null;
    const cannot = translate(current, 'WebPage', 'This browser cannot record videos.');
    if (typeof MediaRecorder === 'undefined' || typeof canvas.captureStream !== 'function')
      return cannot;
    // A recorder without WebM (Safari's records MP4 only) makes no file the page offers.
    const type = webmType((t) => MediaRecorder.isTypeSupported(t));
    if (!type) return cannot;
    let stream: MediaStream;
    let recorder: MediaRecorder;
    try {
      stream = canvas.captureStream(0);
      recorder = new MediaRecorder(stream, { mimeType: type, videoBitsPerSecond: BitsPerSecond });
    } catch (error) {
      return error instanceof Error ? error.message : String(error);
    }
    const track = (stream.getVideoTracks()[0] ?? null) as CanvasCaptureMediaStreamTrack | null;
    const chunks: Blob[] = [];
    recorder.addEventListener('dataavailable', (event) => {
      if (event.data.size > 0) chunks.push(event.data);
    });
    try {
      recorder.start(SliceMs);
    } catch (error) {
      for (const t of stream.getTracks()) t.stop();
      return error instanceof Error ? error.message : String(error);
    }
    session = { recorder, stream, track, chunks, startedAt: performance.now() };
    // The picture on the canvas now is the video's first frame.
    track?.requestFrame();
    recSign.hidden = false;
    recSign.dataset.recording = 'true';
    showSign();
    return null;
  }

  function stop(): Promise<void> {
    const ending = session;
    session = null;
    recSign.hidden = true;
    recSign.dataset.recording = 'false';
    if (!ending) return Promise.resolve();
    return new Promise((resolve) => {
      const finish = () => {
        for (const t of ending.stream.getTracks()) t.stop();
        download(new Blob(ending.chunks, { type: 'video/webm' }), 'halvoran-radiation.webm');
        resolve();
      };
      if (ending.recorder.state === 'inactive') {
        finish();
        return;
      }
      // The last data arrives before the stop event.
      ending.recorder.addEventListener('stop', finish, { once: true });
      ending.recorder.stop();
    });
  }

  return {
    recording: () => session !== null,
    start,
    stop,
    frame() {
      if (!session) return;
      session.track?.requestFrame();
      showSign();
    },
    setLanguage(l) {
      current = l;
      showSign();
    },
  };
}
