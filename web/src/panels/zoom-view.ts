// SPDX-License-Identifier: GPL-3.0-or-later
// The magnified view: the field around the charge, which always sits at its centre, drawn by
// the core with x from -1 / scale to 1 / scale. Its buttons and the + and - keys (while the
// panel has the focus) step the scale through the core, which refuses a scale beyond its bounds.
import type { Simulation } from '../generated/halvoran-core.js';
import { numberLocale } from '../dialogs/number-text';
import { translate, type Language } from '../i18n/catalogue';
import { refusalMessage } from '../refusal-message';
import type { PanelDock } from './dock';
import { createFloatingPanel, panelCanvas, type PanelHandle } from './floating-panel';
import { scaleCaption, zoomKey } from './zoom-scale';
import './zoom-view.css';

export type ZoomPanel = PanelHandle;

const Context = 'TZoomViewForm';

/** A panel floating over host, or standing in dock where one is given. */
export function createZoomPanel(host: HTMLElement, simulation: Simulation, language: Language,
                                openSetup: () => void, dock?: PanelDock): ZoomPanel {
  const panel = createFloatingPanel(host, 'zoom-view', language, dock && { dock, rank: 1 });

  const tools = document.createElement('div');
  tools.className = 'zoom-view-tools';
  const button = (action: string, text: string) => {
    const b = document.createElement('button');
    b.type = 'button';
    b.dataset.action = action;
    b.textContent = text;
    tools.append(b);
    return b;
  };
  const setup = button('setup', '');
  const zoomIn = button('zoom-in', '+');
  const zoomOut = button('zoom-out', '-');
  const caption = document.createElement('span');
  caption.className = 'zoom-view-scale';
  caption.dataset.scale = '';
  tools.append(caption);

  const message = document.createElement('p');
  message.className = 'floating-panel-message';
  message.setAttribute('role', 'alert');

  const { box: viewBox, canvas, context } = panelCanvas('zoom-view-picture', 'zoom-view');
  panel.body.append(tools, message, viewBox);

  let current = language;
  const locale = numberLocale(navigator.language);
  // The picture's pixels as last drawn, reused while the view keeps its size.
  let image: ImageData | null = null;
  let lastRefusal: Parameters<typeof refusalMessage>[0] | null = null;

  function showRefusal(refusal: typeof lastRefusal) {
    lastRefusal = refusal;
    message.textContent = refusal ? refusalMessage(refusal, current) : '';
  }

  function retranslate() {
    const title = translate(current, Context, 'Zooming View');
    panel.setTitle(title);
    canvas.setAttribute('aria-label', title);
    setup.textContent = translate(current, Context, 'Setup');
    for (const [b, text] of [[zoomIn, 'Zoom in (+)'], [zoomOut, 'Zoom out (-)']] as const) {
      const hint = translate(current, Context, text);
      b.title = hint;
      b.setAttribute('aria-label', hint);
      b.setAttribute('aria-keyshortcuts', text === 'Zoom in (+)' ? '+' : '-');
    }
    if (lastRefusal) showRefusal(lastRefusal);
  }

  function refresh() {
    if (!panel.shown()) return;
    // The setup dialog may have changed the scale since the last frame.
    const scale = simulation.display().Zoom.Scale;
    caption.textContent = scaleCaption(scale, locale);
    panel.element.dataset.zoomScale = String(scale);
    const width = viewBox.clientWidth;
    const height = viewBox.clientHeight;
    if (width < 1 || height < 1) return;
    const result = simulation.renderZoom(width, height, window.devicePixelRatio || 1);
    if (result.refusal) {
      showRefusal(result.refusal);
      return;
    }
    if (canvas.width !== result.width || canvas.height !== result.height) {
      canvas.width = result.width;
      canvas.height = result.height;
    }
    // Copied at once: the view into the module's memory holds only until the next call into it.
    if (!image || image.width !== result.width || image.height !== result.height)
      image = context.createImageData(result.width, result.height);
    image.data.set(simulation.pixels());
    context.putImageData(image, 0, 0);
  }

  function step(zoomInward: boolean) {
    // A refused scale leaves the view as it was; the sentence says why.
    showRefusal(simulation.stepZoom(zoomInward));
    refresh();
  }

  zoomIn.addEventListener('click', () => step(true));
  zoomOut.addEventListener('click', () => step(false));
  setup.addEventListener('click', openSetup);
  panel.element.addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.metaKey || event.altKey) return;
    const press = zoomKey(event.key);
    if (!press) return;
    // The view's own keys: the main plot's + and - must not zoom as well.
    event.preventDefault();
    event.stopPropagation();
    step(press === 'in');
  });
  panel.onResize(refresh);
  retranslate();

  return {
    element: panel.element,
    shown: panel.shown,
    setShown(on) {
      if (!on) showRefusal(null);
      panel.setShown(on);
    },
    refresh,
    setLanguage(l) {
      current = l;
      panel.setLanguage(l);
      retranslate();
    },
    onClose: panel.onClose,
    docked: panel.docked,
    setDocked: panel.setDocked,
  };
}
