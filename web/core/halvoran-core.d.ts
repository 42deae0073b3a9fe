// SPDX-License-Identifier: GPL-3.0-or-later
// The core as the page sees it (halvoran-core.js and halvoran-core.wasm beside it). Every model
// decision stays in the core: the page passes values through and words the refusals it gets back
// from its own catalogue, by code, putting values[0], values[1], ... in as %1, %2, ...

/** Why a value was refused; null where a command was accepted. */
export interface Refusal {
  /** A name of refusalCodes(), e.g. "SpeedTooHigh". */
  code: string;
  /** The parameter the refusal is about ("None", "Speed", "CircleRadius", ...). */
  parameter: string;
  /** The values as the sentence shows them ("0.9999", "1.500"), or for a value that is not
   * finite its word to translate: "infinity", "minus infinity", "not a number". */
  values: string[];
}

/** A refusal of the option parser, with the option whose value the simulation's own check
 * refused ("--model"), or "" where the values name the option. */
export interface OptionsRefusal extends Refusal {
  option: string;
}

/** The preset trajectories' parameters: lengths in model units (the plot spans x from -1 to 1),
 * speeds as fractions of the wave speed, BendAngle in degrees, the undulator's period and
 * amplitude in metres. */
export interface TrajectoryParameters {
  CircleRadius: number;
  CircleBeta: number;
  LineBeta: number;
  LineStartX: number;
  LineStopX: number;
  DipoleBeta: number;
  DipoleAmplitude: number;
  UndBeta: number;
  UndPeriod: number;
  UndAmplitude: number;
  UndPeriods: number;
  RaceBeta: number;
  RaceRadius: number;
  RaceStraight: number;
  BendBeta: number;
  BendRadius: number;
  BendAngle: number;
}

/** Mouse 1, straight line 2, dipole 3, circle 4, race track 5, undulator 6, bending 7. */
export type TrajectoryMode = 1 | 2 | 3 | 4 | 5 | 6 | 7;

export interface ZoomSettings {
  Scale: number;
  /** Off 0, particle motion 1, initial velocity 2. */
  Tracking: number;
}

/** What the default plot's width (2 plot units) stands for on the paths without a length unit of
 * their own (the undulator and the bending magnet have 1 unit = 1 m). */
export interface ScaleUnit {
  /** 1, 10 or 100. */
  Scale: number;
  /** Kilometre 0, metre 1, millimetre 2. */
  Unit: number;
}

/** The eye: a fixed point of the plane and the field it receives, sampled ObserverSubTicks times
 * a tick while it is shown. */
export interface ObserverSettings {
  Shown: boolean;
  /** Model units, within observerPlaceLimit of the origin each way. */
  Place: { X: number; Y: number };
  /** The trace's length in ticks, observerTraceTicksMin to observerTraceTicksMax. */
  TraceTicks: number;
  /** The spectrum's power on a logarithmic axis. */
  LogPower: boolean;
}

export interface DisplaySettings {
  ShowFieldLines: boolean;
  ShowWaveFronts: boolean;
  ShowNodePoints: boolean;
  ShowFieldVectors: boolean;
  SmoothLines: boolean;
  PlotResolution: number;
  Zoom: ZoomSettings;
  /** The caption, its key to the colours and the scale bar over the main plot. */
  ShowCaption: boolean;
  /** Dark 0 (light lines on black), projector 1 (dark lines on a light ground). */
  Theme: number;
  ScaleUnit: ScaleUnit;
  Observer: ObserverSettings;
}

/** Fields of a settings object that the page leaves out keep their current values. */
export type DisplayChange = Partial<Omit<DisplaySettings, 'Zoom' | 'ScaleUnit' | 'Observer'>> & {
  Zoom?: Partial<ZoomSettings>;
  ScaleUnit?: Partial<ScaleUnit>;
  Observer?: Partial<Omit<ObserverSettings, 'Place'>> & { Place?: Partial<ObserverSettings['Place']> };
};

export interface PhysicsOptions {
  LightAberration: boolean;
  TrackEmissionPoint: boolean;
  ThomasPrecession: boolean;
}

/** Nodes per field line, field lines, and ticks between drawn wavefronts. */
export interface ModelSize {
  iSize: number;
  jSize: number;
  waveFrontSpacing: number;
}

export interface TickReport {
  /** A new pass of an undulator or bending path began: the simulation was reset on the way. */
  passRestarted: boolean;
}

/** A range of the plot in model units, lower ends first. */
export interface PlotRange {
  xMin: number;
  xMax: number;
  yMin: number;
  yMax: number;
}

/** The power pattern the power-pattern panel shows. */
export interface RadiationPattern {
  /** dP/dOmega towards phi_k = 2 pi k / values.length (x to the right, y up), in q^2 c / (4 pi)
   * per model unit^2. */
  values: number[];
  /** Lienard's total power and Larmor's of the same accelerations. */
  power: number;
  larmor: number;
  /** false for a charge at rest or in uniform motion: every value is 0. */
  radiates: boolean;
}

/** What the eye received, oldest first, one entry per sample (ObserverSubTicks a tick). */
export interface ObserverTrace {
  /** Observer time, ticks since the trace began (eighths between ticks). */
  tick: Float64Array;
  /** 0 received; left out: 1 sent before the last reset (whose history is made up), 2 sent
   * before the kept history begins (the eye too far off). */
  kind: Uint8Array;
  /** The signed components along across of the whole field and of its radiation part, in the
   * field arrows' unit e/unit^2; 0 for a sample left out. */
  field: Float64Array;
  radiation: Float64Array;
  /** The unit vector across the line from the path's centre to the eye. */
  across: { X: number; Y: number };
  /** The trace's length in ticks. */
  traceTicks: number;
  /** Ticks sampled since the trace began. */
  ticks: number;
  /** Samples kept that were left out, and why. */
  beforeReset: number;
  beyondHistory: number;
  /** The physical time of a tick (engine/PictureScale). */
  secondsPerTick: number;
}

/** A line theory predicts: harmonic between low and high cycles per tick. */
export interface SpectrumMarker {
  harmonic: number;
  low: number;
  high: number;
}

/** The undulator's light for the eye: angles in radians, wavelengths in metres (1 u = 1 m). */
export interface UndulatorLight {
  thetaLow: number;
  thetaHigh: number;
  meanBeta: number;
  ticksPerPeriod: number;
  /** The model's own c / f1 = lambda_u (1 / mean beta - cos theta) over the span of theta. */
  modelWavelengthLow: number;
  modelWavelengthHigh: number;
  /** The undulator dialog's lambda_rad = lambda_u / (2 gamma^2) (1 + K^2 / 2). */
  dialogWavelength: number;
  /** On the axis: odd harmonics only. */
  onAxis: boolean;
}

export interface ObserverSpectrum {
  /** Cycles per tick, bins 0 .. N/2; empty where nothing was received. */
  frequency: Float64Array;
  /** |Ex|^2 + |Ey|^2 of the radiation part, the largest 1 (all 0 without radiation). */
  power: Float64Array;
  samplesUsed: number;
  /** N: the samples from the first received to the last, zero-padded to a power of two. */
  transformLength: number;
  /** The closed path's own frequency f0 (cycles per tick); null for the other paths. */
  fundamental: number | null;
  markers: SpectrumMarker[];
  undulator: UndulatorLight | null;
  secondsPerTick: number;
  /** false where the page's transform gave no usable bins (then every power is 0). */
  transformed: boolean;
}

/** The page's real FFT: N samples (N a power of two, at least 2) to the N + 2 numbers re0, im0,
 * re1, im1, .. of bins 0 .. N/2. It must never throw. */
export type RealTransform = (samples: Float64Array) => Float64Array;

/** Why a scene was refused: the code's values name the key's path ("trajectory.LineBeta") where
 * it names one. path: that key, "" where the whole text is at fault; cause: the command's own
 * refusal of the key's value (then worded "path: " + the cause's sentence). */
export interface SceneRefusal extends Refusal {
  path: string;
  cause: Refusal | null;
}

/** The teacher's title and notes in another language. */
export interface SceneTexts {
  title: string;
  notes: string;
}

/** A scene opened: the simulation set up as it says. A refused scene leaves the simulation as
 * it was, and only refusal is given. */
export type OpenedScene =
  | { refusal: SceneRefusal }
  | {
      refusal: null;
      /** The range the main plot shows; null for the start-up range. */
      view: PlotRange | null;
      running: boolean;
      title: string;
      notes: string;
      /** By language ("ja"). */
      translations: Record<string, SceneTexts>;
    };

export interface RenderResult {
  /** Device pixels; 0 where refused. */
  width: number;
  height: number;
  refusal: Refusal | null;
}

export declare class Simulation {
  constructor();
  /** The node table sized, the path built and sampled, reset: once, before anything else. */
  start(): Refusal | null;
  /** Fields left out of parameters keep the values of the trajectory in force. */
  chooseTrajectory(mode: TrajectoryMode, parameters: Partial<TrajectoryParameters>): Refusal | null;
  /** The parameters the path in force was built from. */
  trajectory(): TrajectoryParameters;
  chooseModelSize(iSize: number, jSize: number, spacing: number): Refusal | null;
  reset(): void;
  /** One tick; while dragging, the charge is pulled towards (x, y) in model units. */
  runTick(dragging: boolean, x: number, y: number): TickReport;
  setDisplay(display: DisplayChange): Refusal | null;
  display(): DisplaySettings;
  /** The words the main picture sets (its caption, key and arrow legend) in the page's language:
   * one text for each of pictureWordSources(), in its order. A list of another length or with
   * anything but strings is refused, and the words stay as they were (English at first). */
  setPictureWords(words: string[]): Refusal | null;
  /** From the next tick on, no reset. */
  setPhysics(physics: Partial<PhysicsOptions>): void;
  /** The speed control's position, 1 ("Slow") to 10 ("Fast"). */
  setSpeedPosition(position: number): Refusal | null;
  /** Ticks since the last reset. */
  frameIndex(): number;
  /** The model in force. */
  modelSize(): ModelSize;
  /** The whole main picture drawn into the module's own RGBA pixels, showing range (the start-up
   * range, x from -1 to 1 and y at the same scale, where it is undefined: it must be given, as
   * undefined, since the module takes every argument). */
  render(widthCss: number, heightCss: number, pixelRatio: number,
         range: PlotRange | undefined): RenderResult;
  /** The magnified view into the same pixels: field lines, wavefronts, the charge disc at the
   * centre and (as the main plot shows them) the field arrows, the charge at the centre, x from
   * -1 / Zoom.Scale to 1 / Zoom.Scale. */
  renderZoom(widthCss: number, heightCss: number, pixelRatio: number): RenderResult;
  /** The start-up range of a plot of that size. */
  defaultRange(widthCss: number, heightCss: number): PlotRange;
  /** The charge's position in model units. */
  charge(): { x: number; y: number };
  /** The trajectory in force. */
  trajectoryMode(): TrajectoryMode;
  physics(): PhysicsOptions;
  /** The speed control's position, 1 to 10. */
  speedPosition(): number;
  /** Milliseconds between ticks at that position (1 at "Fast"): the page runs a tick no sooner. */
  tickIntervalMs(): number;
  /** One press of the magnified view's + (zoomIn) or - : its scale times or over the core's step. */
  stepZoom(zoomIn: boolean): Refusal | null;
  /** The plot resolution of the field lines (the core takes 10 to 100). */
  setPlotResolution(pixels: number): Refusal | null;
  /** The pattern of the current tick, or averaged (over one loop or pass of a preset path, over
   * the last ticks in mouse mode). The averages are kept from tick to tick by runTick. */
  radiationPattern(averaged: boolean): RadiationPattern;
  /** What the eye received: sampled by runTick while Observer.Shown, started anew by setDisplay
   * when the eye moves, the length changes or the eye is shown again, and by a new path. */
  observerTrace(): ObserverTrace;
  /** The spectrum of the trace's radiation part (windowing, scaling and the predicted lines are
   * the core's), the transform done by transform. */
  observerSpectrum(transform: RealTransform): ObserverSpectrum;
  /** The CSV of every received sample from fromTick to toTick (the trace's ticks, both in). */
  observerTraceCsv(fromTick: number, toTick: number): string;
  /** The CSV of the spectrum, one row a bin. */
  observerSpectrumCsv(transform: RealTransform): string;
  /** The scene file's text (its bytes as UTF-8, a byte-order mark allowed) applied all or
   * nothing. A text longer than maxSceneBytes is refused unread. */
  openScene(text: string): OpenedScene;
  /** The scene file of what runs now with the page's view (undefined or null: the start-up
   * range), run state and texts. */
  sceneText(view: PlotRange | null | undefined, running: boolean, title: string, notes: string,
            translations: Record<string, { title?: string; notes?: string }> | null): string;
  /** The last render's width * height * 4 bytes, for an ImageData. A view of the module's memory:
   * valid until the next call into the module, which may grow (and so move) that memory. */
  pixels(): Uint8ClampedArray;
  /** Embind's: frees the simulation's memory. */
  delete(): void;
}

export interface CommandOptions {
  action: 'Start' | 'Render' | 'Help' | 'Version';
  mode: 'Animation' | 'Render';
  /** "ja", "en", or "" for the remembered one. */
  language: string;
  renderFile: string;
  output: 'Png' | 'Svg' | 'Mp4' | 'WebM' | 'Gif';
  trajectoryMode: TrajectoryMode;
  /** null: not given. */
  ticks: number | null;
  fromTick: number;
  size: { width: number; height: number } | null;
  pixelRatio: number | null;
  iSize: number | null;
  jSize: number | null;
  waveFrontSpacing: number | null;
  waveFronts: boolean;
  nodePoints: boolean;
  fieldArrows: boolean;
  fieldLines: boolean;
  smooth: boolean | null;
  /** --caption true, --no-caption false; null: not given. */
  caption: boolean | null;
  /** --theme: dark 0, projector 1 (DisplaySettings.Theme); null: not given. */
  theme: number | null;
  /** --observer X,Y: the eye shown there (model units); null: not given. */
  observer: { X: number; Y: number } | null;
}

/** The undulator dialog's entry, each value in full precision. */
export interface UndulatorEntry {
  Beta: number;
  EnergyMeV: number;
  PeriodCm: number;
  Periods: number;
  K: number;
  FieldKG: number;
  AmplitudeM: number;
}

export interface UndulatorDerived {
  Gamma: number;
  RadWavelengthUm: number;
  MaxAngle: number;
  AmplitudeM: number;
}

export type UndulatorInput = 'Beta' | 'Energy' | 'Period' | 'Periods' | 'K' | 'Field';

export interface UndulatorEdit {
  /** The entry edited, or as it was where refused. */
  entry: UndulatorEntry;
  refusal: Refusal | null;
}

export interface HalvoranCore {
  Simulation: typeof Simulation;
  /** The arguments as the command line would take them ("--trajectory", "circle", ...). */
  parseOptions(arguments: string[]): CommandOptions | OptionsRefusal;
  /** Fields left out take the start-up trajectory's values. */
  undulatorEntry(trajectory: Partial<TrajectoryParameters>): UndulatorEntry;
  editUndulator(entry: UndulatorEntry, input: UndulatorInput, value: number): UndulatorEdit;
  undulatorDerived(entry: UndulatorEntry): UndulatorDerived;
  /** trajectory with the entry's path (β, λu, N, a) written into it. */
  applyUndulatorEntry(entry: UndulatorEntry, trajectory: Partial<TrajectoryParameters>):
      TrajectoryParameters;
  /** The start-up display and physics, which the dialogs' Default buttons put back. */
  defaults(): { display: DisplaySettings; physics: PhysicsOptions };
  /** The models of the menu's Largest, Medium and Smallest items. */
  modelSizePresets(): { largest: ModelSize; medium: ModelSize; smallest: ModelSize };
  /** The most bytes a scene file may have. */
  maxSceneBytes: number;
  /** Samples of the trace a tick. */
  observerSubTicks: number;
  /** The bounds of ObserverSettings.TraceTicks, and of Place's |X| and |Y|. */
  observerTraceTicksMin: number;
  observerTraceTicksMax: number;
  observerPlaceLimit: number;
  /** Every code a refusal can carry. */
  refusalCodes(): string[];
  /** The English sources of the pictures' words, each the key of its translation in the
   * catalogue's context "PictureWords". */
  pictureWordSources(): string[];
}

export default function createHalvoranCore(moduleOverrides?: object): Promise<HalvoranCore>;
