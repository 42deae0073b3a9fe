// SPDX-License-Identifier: GPL-3.0-or-later
// The page's frame against the native one, in one run: (a) the native core's tick + whole
// picture (bench/PageFrameBench.cpp), (b) the same frame in headless Chromium through the
// page's module (tick, render, the pixels put into a canvas), and their ratio against its
// target; (c) the page itself at its default model on a 1600 x 900 window, in frames a second
// against its target. A benchmark, not a test: it exits 0 whether or not a target is met.
//   npm run bench
// after tools/build-web.sh and `cmake --build <build> --target page_frame_bench`.
// HALVORAN_PAGE_FRAME_BENCH names the native program, HALVORAN_WEB_MODULE the folder of
// halvoran-core.js and .wasm (the module the page's build bundles).
import { execFile } from 'node:child_process';
import { existsSync } from 'node:fs';
import { resolve } from 'node:path';
import { promisify } from 'node:util';
import { launchBrowser, openPage, serveFolder, siteDir, webDir } from '../e2e/support.mjs';

const RatioTarget = 1.6;  // page / native, at most
const FpsTarget = 55;     // frames a second of the page, at least
const Plot = { width: 1600, height: 900 };

const nativeProgram = resolve(webDir, process.env.HALVORAN_PAGE_FRAME_BENCH ??
                                      '../build/bench/page_frame_bench');
const moduleDir = resolve(webDir, process.env.HALVORAN_WEB_MODULE ?? 'src/generated');

const verdict = (met) => (met ? 'PASS' : 'FAIL');

async function nativeMs() {
  if (!existsSync(nativeProgram)) {
    console.log(`native: no ${nativeProgram} (HALVORAN_PAGE_FRAME_BENCH); build page_frame_bench`);
    return null;
  }
  const { stdout } = await promisify(execFile)(nativeProgram, [], { timeout: 120000 });
  process.stdout.write(stdout);
  const found = /([\d.]+) ms per tick\+frame/.exec(stdout);
  return found ? Number(found[1]) : null;
}

// In the page: the same frames as the native program, in the same batches, the pixels copied
// into an image kept from frame to frame and put into a canvas as the page does. The median
// batch's milliseconds a frame: { whole, module }.
async function browserMs(page, plot) {
  return page.evaluate(async ({ width, height }) => {
    const { default: createHalvoranCore } = await import('/halvoran-core.js');
    const core = await createHalvoranCore();
    const simulation = new core.Simulation();
    const refusal = simulation.start() ?? simulation.chooseModelSize(400, 40, 20) ??
                    simulation.chooseTrajectory(4, {});
    if (refusal) throw new Error(`refused: ${JSON.stringify(refusal)}`);
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    document.body.append(canvas);
    const context = canvas.getContext('2d');
    const image = context.createImageData(width, height);
    // The module's own share (tick and render) is summed beside the whole frame's time.
    let inModule = 0;
    const frame = () => {
      const start = performance.now();
      simulation.runTick(false, 0, 0);
      // The start-up range, passed as undefined: the module's binding counts its arguments.
      const result = simulation.render(width, height, 1, undefined);
      inModule += performance.now() - start;
      if (result.refusal) throw new Error(`render refused: ${JSON.stringify(result.refusal)}`);
      image.data.set(simulation.pixels());
      context.putImageData(image, 0, 0);
    };
    for (let tick = 0; tick < 400; ++tick) frame();
    const batches = [];
    for (let batch = 0; batch < 15; ++batch) {
      inModule = 0;
      const start = performance.now();
      for (let k = 0; k < 20; ++k) frame();
      batches.push({ whole: (performance.now() - start) / 20, module: inModule / 20 });
    }
    simulation.delete();
    batches.sort((a, b) => a.whole - b.whole);
    return batches[Math.floor(batches.length / 2)];
  }, plot);
}

// requestAnimationFrame callbacks a second over seconds, after a warm-up.
function pageFps(page, seconds) {
  return page.evaluate(async (span) => {
    await new Promise((done) => setTimeout(done, 2000));
    let frames = 0;
    let running = true;
    const count = () => { ++frames; if (running) requestAnimationFrame(count); };
    requestAnimationFrame(count);
    await new Promise((done) => setTimeout(done, span * 1000));
    running = false;
    return frames / span;
  }, seconds);
}

const browser = await launchBrowser();
const moduleServer = await serveFolder(moduleDir, {
  '/': '<!doctype html><title>bench</title><link rel="icon" href="data:,">',
});
const siteServer = await serveFolder(siteDir);
try {
  const native = await nativeMs();

  const bench = await openPage(browser, `${moduleServer.origin}/`, { viewport: Plot },
                               moduleServer.origin);
  const { whole: page, module } = await browserMs(bench.page, Plot);
  await bench.close();
  console.log(`page frame browser: ${page.toFixed(3)} ms per tick+frame, of which tick+render ` +
              `${module.toFixed(3)} ms and the pixels put ${(page - module).toFixed(3)} ms ` +
              `(module of ${moduleDir})`);
  if (native !== null) {
    const ratio = page / native;
    console.log(`page / native: ${ratio.toFixed(2)} (target <= ${RatioTarget}) ` +
                verdict(ratio <= RatioTarget));
  }

  const opened = await openPage(browser, `${siteServer.origin}/`, { viewport: Plot },
                                siteServer.origin);
  await opened.page.waitForFunction(() => document.querySelector('#field')?.width > 0, null,
                                    { timeout: 30000 });
  const fps = await pageFps(opened.page, 5);
  console.log(`page at its default model, ${Plot.width}x${Plot.height}: ` +
              `${fps.toFixed(1)} frames/s (target >= ${FpsTarget}) ${verdict(fps >= FpsTarget)}`);
  for (const error of [...bench.errors, ...opened.errors]) console.log(`page error: ${error}`);
  await opened.close();
} finally {
  await browser.close();
  await moduleServer.close();
  await siteServer.close();
}
