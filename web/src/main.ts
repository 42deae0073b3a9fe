// SPDX-License-Identifier: GPL-3.0-or-later
// The page: the core's simulation started with the address's options, the menu bar and the run
// and pause buttons, the picture drawn by the core into the canvas at the device's pixel ratio,
// the charge dragged with any pointer (mouse, pen, touch), the panels, dialogs and outputs, and
// scenes: opened from a file, a lesson or the address's fragment, saved, and sent as a link.
import './page.css';
import createHalvoranCore from './generated/halvoran-core.js';
import type {
  CommandOptions, HalvoranCore, OpenedScene, PlotRange, Refusal, SceneRefusal, Simulation,
} from './generated/halvoran-core.js';
import { openScaleUnitDialog } from './dialogs/scale-unit-dialog';
import { openSetupDialog, type DialogContext, type SetupDialogKind } from './dialogs/setup-dialogs';
import { showGreeting } from './dialogs/greeting';
import { isFullScreen, toggleFullScreen } from './export/full-screen';
import { printPlot } from './export/print';
import { savePicture } from './export/save-png';
import { createRecorder } from './export/webm-recorder';
import {
  chooseLanguage, rememberLanguage, storedLanguage, translate, type Language,
} from './i18n/catalogue';
import { bindShortcuts } from './keys';
import type { HelpTopic } from './help/help-text';
import { showHelp } from './help/help-viewer';
import { createMenuBar } from './menu/menu-bar';
import { createDock } from './panels/dock';
import { createObserverPanel } from './panels/observer-panel';
import { createPowerPatternPanel } from './panels/power-pattern';
import { createZoomPanel } from './panels/zoom-view';
import { trajectoryItem, modelItem } from './page-state';
import { queryArguments } from './query';
import { refusalMessage } from './refusal-message';
import { createLessonPanel } from './scenes/lesson-panel';
import { showLinkDialog } from './scenes/link-dialog';
import { createSceneFiles, DefaultSceneName, saveSceneFile, type FileText } from './scenes/scene-files';
import { LinkProblemText, sceneFragment, sceneOfFragment, type LinkScene } from './scenes/scene-link';
import { lessonsOf, sceneRefusalText, textsIn, type SceneWords } from './scenes/scene-texts';
import lessonIndex from '../../scenes/index.json?raw';
import { applyOptions, pageRun, type PageRun } from './start-options';
import { rememberTheme, showTheme, storedTheme } from './theme/theme';
import { DisplayItems, isDisplayItem } from './view/display-items';
import { pictureWords } from './view/picture-words';
import { createPlotNavigation } from './view/plot-navigation';

// Ticks run per frame while running up to ?ticks=N are cut off after this long, so that the
// page still draws and answers between them.
const TickBudgetMs = 25;
// One arrow key moves the dragged charge's target this far (model units; the plot is 2 wide).
const NudgeStep = 0.02;
// A press this close to the charge's marker (CSS pixels) takes the charge; a finger needs more.
const GrabRadius = { fine: 12, coarse: 28 };

const canvas = document.querySelector<HTMLCanvasElement>('#field')!;
const plotHost = document.querySelector<HTMLElement>('#plot-host')!;
const message = document.querySelector<HTMLElement>('#message')!;
const runButton = document.querySelector<HTMLButtonElement>('#run-button')!;
const pauseButton = document.querySelector<HTMLButtonElement>('#pause-button')!;
const recSign = document.querySelector<HTMLElement>('#rec-sign')!;
const context = canvas.getContext('2d')!;

let language: Language = 'en';
const web = (source: string) => translate(language, 'WebPage', source);

function showMessage(text: string) {
  message.textContent = text;
  message.hidden = false;
}
message.addEventListener('click', () => { message.hidden = true; });

// The command line's sentences end without a stop, the dialogs' with one.
function sentence(text: string): string {
  if (/[.!?。）)]$/.test(text)) return text;
  return `${text}${language === 'ja' ? '。' : '.'}`;
}

function showRefusal(refusal: Refusal & { option?: string }, consequence = '') {
  const said = sentence(refusalMessage(refusal, language));
  showMessage(consequence ? `${said} ${web(consequence)}` : said);
}

const StartsWithDefaults = 'The page starts with the defaults.';

// "name: trajectory.LineBeta: The speed must be ...", as the command line names a scene file.
function showSceneRefusal(source: string, refusal: SceneRefusal, consequence = '') {
  const said = sentence(`${source}: ${sceneRefusalText(refusal, language)}`);
  showMessage(consequence ? `${said} ${web(consequence)}` : said);
}

type TakenScene = Extract<OpenedScene, { refusal: null }>;

// A started simulation in the theme remembered from the last visit (which the address and a
// scene may change after); a remembered theme the core no longer knows is dropped unsaid.
function startSimulation(core: HalvoranCore): { simulation: Simulation; refusal: Refusal | null } {
  const simulation = new core.Simulation();
  const refusal = simulation.start();
  const theme = storedTheme();
  if (!refusal && theme !== null) simulation.setDisplay({ Theme: theme });
  return { simulation, refusal };
}

function defaultStart(core: HalvoranCore): Simulation {
  const { simulation, refusal } = startSimulation(core);
  if (refusal) showRefusal(refusal);
  return simulation;
}

interface Started {
  simulation: Simulation;
  run: PageRun;
  /** The address gave options: a shared link starts at once, without the greeting. */
  fromAddress: boolean;
  /** The fragment's scene, taken. */
  scene: TakenScene | null;
}

// The address's scene, its options on top: only what they name, and the trajectory's mode only
// where named, the scene's parameters kept.
function applyOnScene(simulation: Simulation, options: CommandOptions, given: string[]): Refusal | null {
  if (given.length === 0) return null;
  const named = given.some((argument) => argument.startsWith('--trajectory'));
  return applyOptions(simulation, named ? options : { ...options, trajectoryMode: simulation.trajectoryMode() });
}

// The simulation the address asks for, or the defaults' where any of it is refused.
function startFromAddress(core: HalvoranCore, linked: LinkScene | null): Started {
  const defaults: PageRun = { ticks: null, size: null, pixelRatio: null };
  const query = queryArguments(location.search);
  const options = query.refusal ?? core.parseOptions(query.arguments);
  const asked = 'code' in options ? null : options.language;
  language = chooseLanguage(asked || null, storedLanguage(), navigator.languages ?? []);
  if ('code' in options) {
    showRefusal(options, StartsWithDefaults);
    return { simulation: defaultStart(core), run: defaults, fromAddress: true, scene: null };
  }
  const { simulation, refusal: started } = startSimulation(core);
  if (!started && linked) {
    const source = web('The link');
    const opened = linked.problem === null ? simulation.openScene(linked.text) : null;
    if (!opened || opened.refusal) {
      simulation.delete();
      if (opened?.refusal) showSceneRefusal(source, opened.refusal, StartsWithDefaults);
      else showMessage(`${source}: ${web(LinkProblemText[linked.problem!]).replace('%1', String(core.maxSceneBytes))} ${web(StartsWithDefaults)}`);
      return { simulation: defaultStart(core), run: defaults, fromAddress: true, scene: null };
    }
    const refusal = applyOnScene(simulation, options, query.arguments ?? []);
    if (refusal) {
      simulation.delete();
      showRefusal(refusal, StartsWithDefaults);
      return { simulation: defaultStart(core), run: defaults, fromAddress: true, scene: null };
    }
    return { simulation, run: pageRun(options), fromAddress: true, scene: opened };
  }
  const refusal = started ?? applyOptions(simulation, options);
  if (refusal) {
    simulation.delete();
    showRefusal(refusal, StartsWithDefaults);
    return { simulation: defaultStart(core), run: defaults, fromAddress: true, scene: null };
  }
  return { simulation, run: pageRun(options), fromAddress: location.search.length > 1, scene: null };
}

// The module finds its wasm by its own address, which the build turns into the wasm's asset
// (a data: URL in the one-file page).
const core = await createHalvoranCore();
const { simulation, run, fromAddress, scene: linkedScene } =
    startFromAddress(core, await sceneOfFragment(location.hash, core.maxSceneBytes));
document.documentElement.lang = language;

// ---- The plot's size, range and pointer -------------------------------------------------------

if (run.size) plotHost.classList.add('fixed-size');

function cssSize(): { width: number; height: number } {
  if (run.size) return run.size;
  return { width: Math.max(1, plotHost.clientWidth), height: Math.max(1, plotHost.clientHeight) };
}

const navigation = createPlotNavigation(canvas, (w, h) => simulation.defaultRange(w, h));

function shownRange(): PlotRange {
  const size = cssSize();
  return navigation.range(size.width, size.height) ?? simulation.defaultRange(size.width, size.height);
}

// A point of the model plane in client pixels.
function onScreen(x: number, y: number): { x: number; y: number } {
  const range = shownRange();
  const box = canvas.getBoundingClientRect();
  return {
    x: box.left + ((x - range.xMin) / (range.xMax - range.xMin)) * box.width,
    y: box.top + ((range.yMax - y) / (range.yMax - range.yMin)) * box.height,
  };
}

// The charge's marker in client pixels.
function chargeOnScreen(): { x: number; y: number } {
  const charge = simulation.charge();
  return onScreen(charge.x, charge.y);
}

// The eye's marker in client pixels; null while the eye is not shown.
function eyeOnScreen(): { x: number; y: number } | null {
  const observer = simulation.display().Observer;
  return observer.Shown ? onScreen(observer.Place.X, observer.Place.Y) : null;
}

// The charge follows a held pointer, or the point the arrow keys moved it to.
const pointer = { dragging: false, id: -1, x: 0, y: 0 };
let keyTarget: { x: number; y: number } | null = null;
// A press away from the charge moves the view instead.
let panFrom: { id: number; x: number; y: number } | null = null;
// The eye follows the pointer that took its marker (or placed it): the pointer's id, -1 for none.
let eyePointer = -1;

function mouseMode(): boolean {
  return simulation.trajectoryMode() === 1;
}

// The eye where the pointer is; the core refuses a place beyond its bounds, which stays unmoved.
function placeEye(clientX: number, clientY: number) {
  const at = navigation.toModel(clientX, clientY);
  const refusal = simulation.setDisplay({ Observer: { Place: { X: at.x, Y: at.y } } });
  if (refusal) showRefusal(refusal);
  observerPanel.refresh();
  redraw();
}

canvas.addEventListener('pointerdown', (event) => {
  if (pointer.dragging || panFrom || eyePointer >= 0) return;
  const marker = chargeOnScreen();
  const reach = event.pointerType === 'touch' ? GrabRadius.coarse : GrabRadius.fine;
  const chargeDistance = Math.hypot(event.clientX - marker.x, event.clientY - marker.y);
  const onCharge = chargeDistance <= reach && mouseMode();
  const eye = eyeOnScreen();
  const eyeDistance = eye ? Math.hypot(event.clientX - eye.x, event.clientY - eye.y) : Infinity;
  // Of the two markers within reach, the nearer one is taken.
  const onEye = eyeDistance <= reach && (!onCharge || eyeDistance < chargeDistance);
  canvas.setPointerCapture(event.pointerId);
  event.preventDefault();
  if (event.button === 0 && (observerPanel.placing() || onEye)) {
    // Placed by the press, the eye follows the pointer until it is let go.
    eyePointer = event.pointerId;
    if (observerPanel.placing()) {
      observerPanel.setPlacing(false);
      placeEye(event.clientX, event.clientY);
    }
  } else if (event.button === 0 && onCharge) {
    pointer.dragging = true;
    pointer.id = event.pointerId;
    keyTarget = null;
    Object.assign(pointer, navigation.toModel(event.clientX, event.clientY));
  } else {
    panFrom = { id: event.pointerId, x: event.clientX, y: event.clientY };
  }
});
canvas.addEventListener('pointermove', (event) => {
  if (event.pointerId === eyePointer) {
    placeEye(event.clientX, event.clientY);
  } else if (pointer.dragging && event.pointerId === pointer.id) {
    Object.assign(pointer, navigation.toModel(event.clientX, event.clientY));
  } else if (panFrom && event.pointerId === panFrom.id) {
    const box = canvas.getBoundingClientRect();
    navigation.pan(-(event.clientX - panFrom.x) / box.width, (event.clientY - panFrom.y) / box.height);
    panFrom = { ...panFrom, x: event.clientX, y: event.clientY };
    redraw();
  }
});
const release = (event: PointerEvent) => {
  if (event.pointerId === pointer.id) {
    pointer.dragging = false;
    pointer.id = -1;
  }
  if (panFrom?.id === event.pointerId) panFrom = null;
  if (eyePointer === event.pointerId) eyePointer = -1;
};
canvas.addEventListener('pointerup', release);
canvas.addEventListener('pointercancel', release);
canvas.addEventListener('contextmenu', (event) => event.preventDefault());
navigation.attach(() => pointer.dragging || eyePointer >= 0);
canvas.addEventListener('wheel', () => redraw());

// ---- Panels, outputs, menus -------------------------------------------------------------------

const dock = createDock(document.querySelector<HTMLElement>('#plot-room')!, document.querySelector<HTMLElement>('#dock')!);
const patternPanel = createPowerPatternPanel(plotHost, simulation, language, dock);
const zoomPanel = createZoomPanel(plotHost, simulation, language, () => void setup('zoomSetup'), dock);
const observerPanel = createObserverPanel(plotHost, simulation, core, language, dock);
const recorder = createRecorder(canvas, recSign, language);
const menu = createMenuBar(document.querySelector<HTMLElement>('#menubar')!, (name) => void command(name));
patternPanel.onClose(() => menu.setChecked('mnuShowPowerPattern', false));
const lessonPanel = createLessonPanel(document.querySelector<HTMLElement>('#lesson')!, language);
lessonPanel.onToggle(() => redraw());

// The lessons, in the one-file page as well: the build puts their texts in.
const lessons = lessonsOf(
  import.meta.glob<string>('../../scenes/*.json', { query: '?raw', import: 'default', eager: true }), lessonIndex);
const LessonItem = 'MnuLesson_';
menu.addItems('MnuLessons', lessons.map((lesson) => ({
  name: LessonItem + lesson.stem, caption: textsIn(lesson, 'ja').title, meaning: lesson.title,
})));
menu.addItems('MnuFile', [{
  name: 'MnuCopyLink', caption: `&${translate('ja', 'WebPage', 'Copy link')}`, meaning: 'Copy &link',
}], 'MnuSaveScene');
zoomPanel.onClose(() => menu.setChecked('mnuShowZoom', false));
// Closing the panel hides the eye: the two are one setting of the display.
observerPanel.onClose(() => {
  const refusal = simulation.setDisplay({ Observer: { Shown: false } });
  if (refusal) showRefusal(refusal);
  showChecks();
  redraw();
});
observerPanel.onPlacing((on) => { plotHost.dataset.placingEye = String(on); });
window.addEventListener('keydown', (event) => {
  if (event.key === 'Escape' && observerPanel.placing()) observerPanel.setPlacing(false);
});

// ---- Run, pause, step ------------------------------------------------------------------------

let running = true;
let stopAfterTick = false;
let lastTickAt = -Infinity;
let ticksRun = 0;
let needsDraw = true;

function redraw() { needsDraw = true; }

function showRunState() {
  const on = running && !stopAfterTick;
  runButton.setAttribute('aria-pressed', String(on));
  pauseButton.setAttribute('aria-pressed', String(!on));
  // Whether ticks still come (a step's one tick included): for scripts and tests that wait for it.
  canvas.dataset.running = String(running);
}

function setRunning(on: boolean) {
  running = on;
  stopAfterTick = false;
  showRunState();
}

// One more tick runs, and that tick pauses: a single step.
function step() {
  running = true;
  stopAfterTick = true;
  showRunState();
}

runButton.addEventListener('click', () => setRunning(true));
pauseButton.addEventListener('click', () => step());

// ---- The menu's state from the simulation's ---------------------------------------------------

function showChecks() {
  const display = simulation.display();
  for (const [name, item] of Object.entries(DisplayItems))
    if (menu.has(name)) menu.setChecked(name, item.checked(display));
  showTheme(display.Theme);
  // The caption takes the plot's top-left corner, where the logo stands without it.
  plotHost.dataset.caption = String(display.ShowCaption);
  menu.setChecked(trajectoryItem(simulation.trajectoryMode()), true);
  menu.setChecked(modelItem(simulation.modelSize(), core.modelSizePresets()), true);
  menu.setChecked('MnuFullScreen', isFullScreen());
  menu.setChecked('mnuShowZoom', zoomPanel.shown());
  menu.setChecked('mnuShowPowerPattern', patternPanel.shown());
  // The panel follows the eye: a scene, the address or the menu may have shown or hidden it.
  if (observerPanel.shown() !== display.Observer.Shown) observerPanel.setShown(display.Observer.Shown);
  menu.setChecked(language === 'ja' ? 'MnuJapanese' : 'MnuEnglish', true);
}

// The words the core sets into the picture, in the page's language.
function wordPicture() {
  const refusal = simulation.setPictureWords(pictureWords(core.pictureWordSources(), language));
  if (refusal) showRefusal(refusal);
  redraw();
}

function setLanguage(chosen: Language) {
  language = chosen;
  document.documentElement.lang = chosen;
  wordPicture();
  menu.setLanguage(chosen);
  patternPanel.setLanguage(chosen);
  zoomPanel.setLanguage(chosen);
  observerPanel.setLanguage(chosen);
  recorder.setLanguage(chosen);
  lessonPanel.setLanguage(chosen);
  if (sceneWords) lessonPanel.show(textsIn(sceneWords, chosen));
  wordToolbar();
  showChecks();
  if (!rememberLanguage(chosen))
    showMessage(web('The language is changed, but this browser does not let the page keep it for the next visit.'));
}

function wordToolbar() {
  runButton.title = translate(language, 'TMainForm1', 'Run Simulation');
  pauseButton.title = translate(language, 'TMainForm1', 'Pause Simulation');
  runButton.setAttribute('aria-label', runButton.title);
  pauseButton.setAttribute('aria-label', pauseButton.title);
  menu.element.setAttribute('aria-label', web('Main menu'));
  canvas.setAttribute('aria-label', web('The field of the moving charge'));
}

// ---- Commands --------------------------------------------------------------------------------

// A dialog edits a copy; where the core took its values, the picture and the menu follow.
function dialogContext(): DialogContext {
  return { core, simulation, language, host: document.body, help: (topic) => void help(topic) };
}

async function setup(kind: SetupDialogKind): Promise<boolean> {
  const accepted = await openSetupDialog(kind, dialogContext());
  if (accepted) afterMotionChange();
  return accepted;
}

function afterMotionChange() {
  navigationFollows();
  showChecks();
  redraw();
}

// The view stays where the user put it; only its picture is new.
function navigationFollows() { lastTickAt = -Infinity; }

// A View check item: the core's display changed as the item asks, the mark read back from it.
function toggleDisplay(name: string) {
  const before = simulation.display().Theme;
  const refusal = simulation.setDisplay(DisplayItems[name]!.toggled(simulation.display()));
  if (refusal) showRefusal(refusal);
  // Kept for the next visit where the browser lets the page (the language's switch says where not).
  const theme = simulation.display().Theme;
  if (theme !== before) rememberTheme(theme);
  showChecks();
  redraw();
}

// The help text over the page (over the dialog whose Help button asked for it).
function help(topic?: HelpTopic): Promise<void> {
  return showHelp(document.body, language, topic);
}

function chooseModel(size: { iSize: number; jSize: number; waveFrontSpacing: number }) {
  const refusal = simulation.chooseModelSize(size.iSize, size.jSize, size.waveFrontSpacing);
  if (refusal) {
    showRefusal(refusal);
    return;
  }
  modelChanged();
}

// A video keeps one model from its first frame to its last; the new model starts paused.
function modelChanged() {
  if (recorder.recording()) void stopRecording();
  setRunning(false);
  afterMotionChange();
}

async function stopRecording() {
  await recorder.stop();
  menu.setCaption('MnuRecordAnimation');
}

// ---- Scenes ----------------------------------------------------------------------------------

// The texts of the scene last opened (a lesson's, a file's, the link's), which a saved scene
// keeps; and the name a saved scene takes: the opened file's.
let sceneWords: SceneWords | null = null;
let sceneFileName = DefaultSceneName;

// The view the scene shows: as wide as the scene's x range about its centre, the height
// following the plot's shape; none, the start-up view.
function showView(view: PlotRange | null) {
  if (view) navigation.show(view);
  else navigation.reset();
}

function sceneTaken(opened: TakenScene) {
  if (recorder.recording()) void stopRecording();
  keyTarget = null;
  showView(opened.view);
  setRunning(opened.running);
  sceneWords = { title: opened.title, notes: opened.notes, translations: opened.translations };
  lessonPanel.show(textsIn(sceneWords, language));
  afterMotionChange();
}

// A refused scene leaves everything as it was: the simulation (the core took nothing), the
// view, the run state, the lesson shown.
function openScene(text: string, fileName: string): boolean {
  const opened = simulation.openScene(text);
  if (opened.refusal) {
    showSceneRefusal(fileName, opened.refusal);
    return false;
  }
  message.hidden = true;
  sceneTaken(opened);
  sceneFileName = fileName;
  return true;
}

const sceneFiles = createSceneFiles(core.maxSceneBytes, (read: FileText, fileName: string) => {
  if (read.refusal) showSceneRefusal(fileName, read.refusal);
  else openScene(read.text, fileName);
});

function sceneText(): string {
  const size = cssSize();
  return simulation.sceneText(navigation.range(size.width, size.height) ?? null, running && !stopAfterTick,
                              sceneWords?.title ?? '', sceneWords?.notes ?? '', sceneWords?.translations ?? null);
}

function saveScene() { saveSceneFile(sceneText(), sceneFileName); }

// The page's address without its options, the scene in the fragment: the link opens this scene
// as it is now. Copied where the browser lets the page write to the clipboard; shown otherwise.
async function copyLink() {
  const link = location.href.split(/[?#]/)[0] + await sceneFragment(sceneText());
  const fromFile = location.protocol === 'file:';
  if (!fromFile && window.isSecureContext && navigator.clipboard) {
    try {
      await navigator.clipboard.writeText(link);
      showMessage(web('The link to this scene is copied.'));
      return;
    } catch {
      // Refused: the dialog shows it instead.
    }
  }
  await showLinkDialog(document.body, link, language, fromFile, saveScene);
}

function openLesson(stem: string) {
  const lesson = lessons.find((candidate) => candidate.stem === stem);
  if (lesson) openScene(lesson.text, `${stem}.json`);
}

const Trajectories: Record<string, SetupDialogKind> = {
  mnuStraightLine: 'line', MnuDipole: 'dipole', MnuCircle: 'circle', MnuUndulator: 'undulator',
  mnuRacetrack: 'racetrack', mnuBending: 'bending',
};

async function command(name: string): Promise<void> {
  const presets = core.modelSizePresets();
  switch (name) {
    case 'MnuPrint': printPlot(canvas); return;
    case 'MnuSavePicture':
      try {
        await savePicture(canvas);
      } catch (error) {
        showMessage(translate(language, 'Messages', 'Could not save the picture "%1": %2')
          .replace('%1', 'halvoran-radiation.png').replace('%2', web(String((error as Error).message))));
      }
      return;
    case 'MnuRecordAnimation':
      if (recorder.recording()) {
        await stopRecording();
      } else {
        const why = recorder.start();
        if (why) showMessage(why);
        else menu.setCaption('MnuRecordAnimation', '&録画を停止', 'Stop recording');
      }
      return;
    case 'MnuByMouse': {
      const refusal = simulation.chooseTrajectory(1, {});
      if (refusal) showRefusal(refusal);
      afterMotionChange();
      return;
    }
    case 'MnuMdlLarge': chooseModel(presets.largest); return;
    case 'MnuMdlMedium': chooseModel(presets.medium); return;
    case 'MnuMdlSmall': chooseModel(presets.smallest); return;
    case 'MnuMdlCustom':
      if (await openSetupDialog('modelSize', dialogContext()))
        modelChanged();
      showChecks();
      return;
    case 'PlotResolution1': await setup('plotResolution'); return;
    case 'PhysicalModel': await setup('physicalModel'); return;
    case 'MnuSpeed': await setup('waveSpeed'); return;
    case 'MnuScaleUnit':
      if (await openScaleUnitDialog(dialogContext())) redraw();
      return;
    case 'mnuShowZoom': zoomPanel.setShown(true); showChecks(); return;
    case 'mnuShowPowerPattern': patternPanel.setShown(true); showChecks(); return;
    case 'MnuFullScreen':
      try {
        await toggleFullScreen(document.documentElement);
      } catch (error) {
        showMessage(web(String((error as Error).message)));
      }
      showChecks();
      return;
    case 'MnuJapanese': setLanguage('ja'); return;
    case 'MnuEnglish': setLanguage('en'); return;
    case 'MnuReset':
      simulation.reset();
      keyTarget = null;
      redraw();
      return;
    case 'MnuRun': setRunning(true); return;
    case 'MnuPause': setRunning(false); return;
    case 'MnuRunPause': setRunning(!(running && !stopAfterTick)); return;
    case 'MnuStep': step(); return;
    case 'MnuHelp': await showGreeting(document.body, language); return;
    case 'MnuHelpModel': await help(); return;
    case 'MnuOpenScene': sceneFiles.choose(); return;
    case 'MnuSaveScene': saveScene(); return;
    case 'MnuCopyLink': await copyLink(); return;
    default:
      if (isDisplayItem(name)) toggleDisplay(name);
      else if (name in Trajectories) await setup(Trajectories[name]!);
      else if (name.startsWith(LessonItem)) openLesson(name.slice(LessonItem.length));
  }
}

document.addEventListener('fullscreenchange', () => {
  menu.setChecked('MnuFullScreen', isFullScreen());
  redraw();
});

bindShortcuts(window, (name) => void command(name), {
  isMouseMode: mouseMode,
  nudgeCharge(dx, dy) {
    const from = keyTarget ?? simulation.charge();
    keyTarget = { x: from.x + dx * NudgeStep, y: from.y + dy * NudgeStep };
  },
  zoom(factor) { navigation.zoom(factor); redraw(); },
  pan(dx, dy) { navigation.pan(dx, dy); redraw(); },
  resetView() { navigation.reset(); redraw(); },
});

// ---- The frame -------------------------------------------------------------------------------

// The picture's pixels as last drawn, reused while the canvas keeps its size.
let image: ImageData | null = null;

function draw() {
  const size = cssSize();
  const ratio = run.pixelRatio ?? window.devicePixelRatio ?? 1;
  const result = simulation.render(size.width, size.height, ratio, navigation.range(size.width, size.height));
  if (result.refusal) {
    showRefusal(result.refusal, 'The picture is not drawn.');
    return;
  }
  if (canvas.width !== result.width || canvas.height !== result.height) {
    canvas.width = result.width;
    canvas.height = result.height;
  }
  canvas.style.width = `${size.width}px`;
  canvas.style.height = `${size.height}px`;
  // Copied into an image kept from frame to frame: the view into the module's memory is good
  // only until the next call into it, and a new image of every frame would be megabytes of
  // garbage a second.
  if (!image || image.width !== result.width || image.height !== result.height)
    image = context.createImageData(result.width, result.height);
  image.data.set(simulation.pixels());
  context.putImageData(image, 0, 0);
  needsDraw = false;
}

function tick() {
  const target = pointer.dragging ? pointer : keyTarget;
  const report = simulation.runTick(target !== null && mouseMode(), target?.x ?? 0, target?.y ?? 0);
  if (report.passRestarted) keyTarget = null;
}

function frame(now: number) {
  let ticked = false;
  if (run.ticks !== null && ticksRun < run.ticks) {
    const start = performance.now();
    while (ticksRun < run.ticks && performance.now() - start < TickBudgetMs) {
      tick();
      ++ticksRun;
    }
    ticked = true;
    if (ticksRun >= run.ticks) {
      setRunning(false);
      canvas.dataset.tick = String(ticksRun);
    }
  } else if (running && (run.ticks === null || ticksRun >= run.ticks) &&
             now - lastTickAt >= simulation.tickIntervalMs()) {
    tick();
    ticked = true;
    lastTickAt = now;
    if (stopAfterTick) setRunning(false);
  }
  if (ticked || needsDraw) {
    draw();
    if (patternPanel.shown()) patternPanel.refresh();
    if (zoomPanel.shown()) zoomPanel.refresh();
    if (observerPanel.shown()) observerPanel.refresh();
    recorder.frame();
  }
  requestAnimationFrame(frame);
}

new ResizeObserver(() => redraw()).observe(plotHost);
window.addEventListener('resize', () => redraw());

menu.setLanguage(language);
wordToolbar();
wordPicture();
if (linkedScene) sceneTaken(linkedScene);
showChecks();
showRunState();
requestAnimationFrame(frame);
// The greeting greets a person who opened the page itself; a link with options starts at once.
if (!fromAddress) void showGreeting(document.body, language);
