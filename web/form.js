// Form1 in the browser. Its logic is the engine's Form, the same C++ as the desktop window's; this
// script gives it what only the browser has: the elements and their events, the canvas, and the
// workers that run a simulation, one per core, each with its own engine and a share of the steps.
(async () => {
  const message = document.getElementById('message');
  const say = (text) => {
    message.textContent = text;
    message.hidden = false;
  };
  if (typeof WebAssembly !== 'object' || typeof Worker !== 'function') {
    say('Questo browser non esegue WebAssembly, che il simulatore richiede. ' +
        'Aprire la pagina con una versione recente di Chrome, Edge, Firefox o Safari. ' +
        '(This browser cannot run WebAssembly, which the simulator needs.)');
    return;
  }
  const layout = JSON.parse(document.getElementById('layout').textContent);
  let engine;
  try {
    engine = await createCorrelatoreEngine();
  } catch (error) {
    say('Il browser non riesce ad avviare il simulatore: serve WebAssembly con le istruzioni ' +
        `SIMD (Chrome 91, Firefox 89, Safari 16.4 o successivi). (${error})`);
    return;
  }

  // ---- The window -------------------------------------------------------------------------------
  document.documentElement.style.setProperty('--face', layout.background);
  const formElement = document.getElementById('form1');
  const canvas = document.getElementById('chart');
  const width = Math.trunc(layout.clientWidth / layout.twipsPerPixel);
  const height = Math.trunc(layout.clientHeight / layout.twipsPerPixel);
  formElement.style.width = canvas.style.width = `${width}px`;
  formElement.style.height = canvas.style.height = `${height}px`;
  canvas.width = width;
  canvas.height = height;
  const context = canvas.getContext('2d');
  const chartDescription = document.getElementById('chart-description');
  canvas.setAttribute('aria-label', engine.chartName());
  const image = context.createImageData(width, height);
  const formula = `data:image/bmp;base64,${document.getElementById('formula').textContent.trim()}`;
  const controls = Controls.create(formElement, layout, formula);
  await document.fonts.ready;
  controls.Label3.placeNumbers(engine.axisNumberPlaces);

  // ---- The workers: as many as there are cores, started once with the page ---------------------
  const workerSource = `${document.getElementById('engine').textContent}\n` +
                       document.getElementById('run-worker').textContent;
  const workerUrl = URL.createObjectURL(new Blob([workerSource], { type: 'text/javascript' }));
  const workerCount = Math.max(1, Math.min(navigator.hardwareConcurrency || 1,
                                           engine.mostShares()));
  const workers = Array.from({ length: workerCount }, () => new Worker(workerUrl));

  // ---- What the form asks of the page -----------------------------------------------------------
  const status = { busy: false, queued: 0, painted: true, lastRun: null, runs: 0,
                   workers: workerCount };
  let paintPending = false;
  let runStarted = 0, runMilliseconds = 0;
  const fixedSeedText = new URLSearchParams(location.search).get('seed');
  const page = {
    listTexts: () => ({ combo1: controls.Combo1.text(), combo2: controls.Combo2.text() }),
    setTitleCaption: (caption) => {
      if (controls.Label1.textContent !== caption) controls.Label1.textContent = caption;
    },
    startRun: (beta, nm, seed) => {
      console.info(`seed: ${seed}`);
      runStarted = performance.now();
      workers.forEach((worker, share) =>
        worker.postMessage({ beta, nm, seed, share, shares: workers.length }));
    },
    endRun: () => { runMilliseconds = performance.now() - runStarted; },
    reportRunTimeError: (code, description) => say(`Errore di run-time: ${description}`),
    requestRepaint: () => {
      status.painted = false;
      if (!paintPending) {
        paintPending = true;
        requestAnimationFrame(paint);
      }
    },
    // 64 random bits, as many as the desktop's clock seeds have; the page's clock would give a
    // small round number (the time since the page loaded, in coarse steps). Decimal text, since a
    // JavaScript number cannot hold every 64-bit value.
    newSeed: () => crypto.getRandomValues(new BigUint64Array(1))[0].toString(),
    setChartDescription: (text) => { chartDescription.textContent = text; },
  };
  const form = new engine.Form(page, width, height);
  page.setChartDescription(form.chartDescription());
  if (fixedSeedText !== null && !form.setFixedSeed(fixedSeedText))
    console.warn(`seed "${fixedSeedText}" is not a whole number from 0 to 2^64 - 1; ignored`);

  // What a test or a curious teacher can read from the console: the state of the page, the last
  // run's parameters, seed and P values, and the theoretical curve's points.
  const refresh = () => {
    const now = form.status();
    if (now.runs !== status.runs)
      status.lastRun = { ...form.lastRun(), milliseconds: runMilliseconds };
    Object.assign(status, now);
  };
  // A repaint runs Form_Paint, as every repaint of the desktop window does, then shows the drawing.
  function paint() {
    form.paint();
    image.data.set(form.picture());
    context.putImageData(image, 0, 0);
    paintPending = false;
    status.painted = true;
    refresh();
  }
  const fail = (text) => {
    try {
      form.fail(text);
    } catch { // the engine itself failed
      say(`Errore di run-time: ${text}`);
    }
    refresh();
  };

  // ---- Events -----------------------------------------------------------------------------------
  for (const name of ['Command1', 'Command2', 'Command3']) {
    controls[name].addEventListener('click', () => {
      form.click(engine.Button[name]);
      refresh();
    });
  }
  for (const worker of workers) {
    worker.onmessage = ({ data }) => {
      form.stepDone(data.index, data.p);
      refresh();
    };
    worker.onerror = (event) => fail(event.message);
  }
  window.addEventListener('error', (event) => fail(event.message));
  window.correlatore = {
    status,
    kernel: engine.kernelName(),
    theoryPoints: () => Array.from(engine.theoryPoints()),
  };

  // The focus goes round the window's controls, as in the desktop window, not out to the browser.
  const focusable = [...formElement.querySelectorAll('button.control, .combo input, .picture')];
  const [first, last] = [focusable[0], focusable[focusable.length - 1]];
  formElement.addEventListener('keydown', (event) => {
    if (event.key !== 'Tab') return;
    const wrapTo = event.shiftKey ? event.target === first && last
                                  : event.target === last && first;
    if (wrapTo) {
      event.preventDefault();
      wrapTo.focus();
    }
  });

  // From a web server the page keeps itself for use offline; from a file it needs nothing.
  if ('serviceWorker' in navigator && location.protocol.startsWith('http'))
    navigator.serviceWorker.register('sw.js').catch(() => {});

  paintPending = true; // the first paint, at once: the frame is drawn before any click
  paint();
  controls.Command1.focus();
  status.readyMilliseconds = performance.now(); // since the page was asked for
  status.ready = true;
})();
