// Form1 in the browser: the event procedures of the desktop window over the same engine. The
// chart keeps its display list until Reset or the next run; a run works in a worker, so the page
// keeps painting and circles appear as they come; clicks made during a run are carried out after
// it, in order, each with the lists' texts of the moment it was made.
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
  const form = document.getElementById('form1');
  const canvas = document.getElementById('chart');
  const size = Controls.extent(layout);
  form.style.width = `${size.width}px`;
  form.style.height = `${size.height}px`;
  canvas.width = size.width;
  canvas.height = size.height;
  canvas.style.width = `${size.width}px`;
  canvas.style.height = `${size.height}px`;
  const formula = `data:image/bmp;base64,${document.getElementById('formula').textContent.trim()}`;
  const controls = Controls.create(form, layout, formula);
  const renderer = new ChartCanvas.Renderer(canvas, engine.opLayout(), layout);
  const chart = new engine.Chart();
  await document.fonts.ready;
  controls.Label3.placeNumbers();

  // ---- Painting: the whole display list, at most once a frame -----------------------------------
  let paintPending = false;
  const status = { busy: false, queued: 0, painted: true, lastRun: null, runs: 0 };
  const paint = () => {
    paintPending = false;
    renderer.render(chart.ops());
    status.painted = true;
  };
  const invalidate = () => {
    status.painted = false;
    if (!paintPending) {
      paintPending = true;
      requestAnimationFrame(paint);
    }
  };

  // ---- The run's worker: its own engine instance ------------------------------------------------
  const workerSource = `${document.getElementById('engine').textContent}\n` +
                       document.getElementById('run-worker').textContent;
  const worker = new Worker(URL.createObjectURL(new Blob([workerSource],
                                                         { type: 'text/javascript' })));
  worker.onerror = (event) => fail(event.message);

  // ---- The event procedures ---------------------------------------------------------------------
  const setTitleCaption = () => {
    if (controls.Label1.textContent !== layout.title) controls.Label1.textContent = layout.title;
  };
  const reticolo = () => {
    setTitleCaption();
    chart.drawFrame();
    invalidate();
  };
  // The first paint draws the frame into the display list; every later paint of the canvas draws
  // the list, which keeps whatever was drawn until the next Cls.
  const Form_Paint = reticolo;
  const Command1_Click = () => {
    chart.drawTheory();
    invalidate();
  };
  const Command3_Click = () => {
    chart.cls();
    reticolo();
  };
  const fixedSeed = (() => {
    const text = new URLSearchParams(location.search).get('seed');
    if (text === null) return null;
    const seed = engine.seedFromText(text);
    if (!seed) console.warn(`seed "${text}" is not a whole number from 0 to 2^64 - 1; ignored`);
    return seed || null;
  })();
  let Beta = 0; // the window's integrator constant, set by every run
  let run = null;
  const Command2_Click = (texts) => {
    chart.cls();
    reticolo();
    const parameters = engine.runParameters(texts.combo1, texts.combo2);
    Beta = parameters.beta;
    const seed = fixedSeed ?? engine.clockSeed();
    console.info(`seed: ${seed}`);
    run = { beta: Beta, nm: parameters.nm, seed, p: [], started: performance.now() };
    status.busy = true;
    worker.postMessage({ beta: Beta, nm: parameters.nm, seed });
  };

  // ---- Clicks, queued while a run works ---------------------------------------------------------
  const pending = [];
  let failed = false; // after a run-time error the window takes no more clicks, as on the desktop
  const texts = () => ({ combo1: controls.Combo1.text(), combo2: controls.Combo2.text() });
  // As in the window, a procedure's repeats of what the chart already shows leave the list.
  const carryOut = ({ procedure, texts: atClick }) => {
    procedure(atClick);
    chart.dropHiddenRepeats();
  };
  const click = (procedure) => {
    if (failed) return;
    const entry = { procedure, texts: texts() };
    if (run) pending.push(entry);
    else carryOut(entry);
    status.queued = pending.length;
  };
  controls.Command1.addEventListener('click', () => click(Command1_Click));
  controls.Command2.addEventListener('click', () => click(Command2_Click));
  controls.Command3.addEventListener('click', () => click(Command3_Click));

  worker.onmessage = ({ data }) => {
    if (!run) return; // a run ended by a run-time error
    if (data.type === 'step') {
      chart.drawStep(data.s, data.p);
      run.p.push(data.p);
      invalidate();
    } else if (data.type === 'done') {
      status.lastRun = { beta: run.beta, nm: run.nm, seed: run.seed, p: run.p,
                         milliseconds: performance.now() - run.started };
      status.runs += 1;
      run = null;
      // A queued click that starts another run leaves the rest waiting for its end.
      while (!run && pending.length) carryOut(pending.shift());
      status.queued = pending.length;
      status.busy = run !== null;
    }
  };

  const fail = (text) => {
    failed = true;
    pending.length = 0;
    run = null;
    status.busy = false;
    say(`Errore di run-time: ${text}`);
  };
  window.addEventListener('error', (event) => fail(event.message));

  // What a test or a curious teacher can read from the console: the state of the page, the last
  // run's parameters, seed and P values, and the theoretical curve's points.
  window.correlatore = {
    status,
    kernel: engine.kernelName(),
    theoryPoints: () => Array.from(engine.theoryPoints()),
  };

  // The focus goes round the window's controls, as in the desktop window, not out to the browser.
  const focusable = [...form.querySelectorAll('button.control, .combo input, .picture')];
  const [first, last] = [focusable[0], focusable[focusable.length - 1]];
  form.addEventListener('keydown', (event) => {
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

  Form_Paint();
  controls.Command1.focus();
  status.readyMilliseconds = performance.now(); // since the page was asked for
  status.ready = true;
})();
