// The chart's context menu and the run's analysis, in the page as in the window: a right click on
// the chart (its labels included), the Menu key or Shift+F10 opens the menu, also during a run.
// What it offers and what its entries make (the data, the analysis, what a picture says about
// itself) is the engine's; this script gives them the browser's clipboard, downloads and elements.
const ChartMenu = (() => {
  const margin = 8; // past the outermost chart labels, as the desktop's pictures cut them

  // A file for the user to keep, by the browser's download.
  function download(name, bytes, type) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type }));
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }

  // Whether the browser's language writes decimals with a comma, as a spreadsheet in it reads them.
  const decimalComma = () => new Intl.NumberFormat(navigator.language).formatToParts(0.5)
    .find((part) => part.type === 'decimal')?.value === ',';

  function create({ engine, form, formElement, canvas, controls, say }) {
    // ---- The menu ------------------------------------------------------------------------------
    const menu = document.createElement('ul');
    menu.id = 'chart-menu';
    menu.setAttribute('role', 'menu');
    menu.setAttribute('aria-label', 'Grafico');
    menu.hidden = true;
    document.body.append(menu);
    let returnFocus = null;

    const items = () => [...menu.children];
    const close = () => {
      if (menu.hidden) return;
      menu.hidden = true;
      returnFocus?.focus();
    };
    const open = (x, y) => {
      returnFocus = document.activeElement;
      menu.replaceChildren(...form.chartMenu().map((entry, i) => {
        const item = document.createElement('li');
        item.setAttribute('role', 'menuitem');
        item.tabIndex = -1;
        item.textContent = entry.text;
        if (!entry.enabled) item.setAttribute('aria-disabled', 'true');
        item.addEventListener('click', () => choose(i));
        return item;
      }));
      menu.hidden = false;
      const box = menu.getBoundingClientRect();
      menu.style.left = `${Math.max(0, Math.min(x, innerWidth - box.width))}px`;
      menu.style.top = `${Math.max(0, Math.min(y, innerHeight - box.height))}px`;
      (items().find((item) => !item.hasAttribute('aria-disabled')) ?? items()[0]).focus();
    };
    const actions = [copyPicture, savePicture, saveData, showAnalysis];
    function choose(index) {
      // Enabled when the menu opened; the engine says whether it still is.
      const enabled = form.chartMenu()[index].enabled;
      close();
      if (enabled) actions[index]().catch((error) => say(String(error)));
    }
    menu.addEventListener('keydown', (event) => {
      const all = items();
      const at = all.indexOf(document.activeElement);
      if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
        all[(at + (event.key === 'ArrowDown' ? 1 : all.length - 1)) % all.length].focus();
      } else if (event.key === 'Enter' || event.key === ' ') {
        if (at >= 0) choose(at);
      } else if (event.key === 'Escape' || event.key === 'Tab') {
        close();
      } else {
        return;
      }
      event.preventDefault();
    });
    document.addEventListener('mousedown', (event) => {
      if (!menu.contains(event.target)) close();
    });

    // ---- Where it opens ------------------------------------------------------------------------
    // The chart's part of the form: up to just past "Si/Ni (db)" and just below the axis numbers.
    const chartRegion = () => {
      const box = (name) => controls[name].getBoundingClientRect();
      const form = formElement.getBoundingClientRect();
      return { left: form.left, top: form.top,
               right: Math.max(...['Label2', 'Label3', 'Label4', 'Label5'].map((n) => box(n).right))
                      + margin,
               bottom: Math.max(...['Label2', 'Label3', 'Label4', 'Label5']
                 .map((n) => box(n).bottom)) + margin };
    };
    const openOverChart = () => {
      const region = chartRegion();
      open((region.left + region.right) / 2, (region.top + region.bottom) / 2);
    };
    let rightPressAt = -Infinity;
    formElement.addEventListener('pointerdown', (event) => {
      if (event.button === 2) rightPressAt = performance.now();
    });
    formElement.addEventListener('contextmenu', (event) => {
      if (event.target.closest('input')) return; // a list's field keeps the browser's own menu
      if (performance.now() - rightPressAt < 1000) { // the mouse's
        const region = chartRegion();
        if (event.clientX >= region.right || event.clientY >= region.bottom) return;
        event.preventDefault();
        open(event.clientX, event.clientY);
      } else { // the Menu key's, on a control that has no menu of its own
        event.preventDefault();
        openOverChart();
      }
    });
    formElement.addEventListener('keydown', (event) => {
      if (event.key !== 'F10' || !event.shiftKey || event.target.closest('input')) return;
      event.preventDefault();
      openOverChart();
    });

    // ---- What it does --------------------------------------------------------------------------
    // The chart with its labels as the page shows them, as a PNG that says what made it.
    async function pictureFile() {
      const region = chartRegion();
      const offscreen = document.createElement('canvas');
      offscreen.width = Math.round(region.right - region.left);
      offscreen.height = Math.round(region.bottom - region.top);
      const context = offscreen.getContext('2d');
      context.fillStyle = getComputedStyle(document.body).backgroundColor;
      context.fillRect(0, 0, offscreen.width, offscreen.height);
      context.drawImage(canvas, 0, 0);
      for (const name of ['Label2', 'Label3', 'Label4', 'Label5']) {
        const label = controls[name];
        const parts = label.querySelectorAll('.number').length
          ? [...label.querySelectorAll('.number')] : [label];
        const style = getComputedStyle(label);
        const box = label.getBoundingClientRect();
        context.fillStyle = style.backgroundColor;
        context.fillRect(box.left - region.left, box.top - region.top, box.width, box.height);
        context.font = style.font;
        context.fillStyle = style.color;
        context.textBaseline = 'middle';
        for (const part of parts) {
          const at = part.getBoundingClientRect();
          context.fillText(part.textContent, at.left - region.left,
                           at.top - region.top + at.height / 2);
        }
      }
      const png = await new Promise((done) => offscreen.toBlob(done, 'image/png'));
      return form.pictureFile(new Uint8Array(await png.arrayBuffer()));
    }

    async function copyPicture() {
      const bytes = await pictureFile();
      if (!navigator.clipboard?.write)
        throw new Error('Questo browser non copia immagini negli appunti da questa pagina.');
      await navigator.clipboard.write(
        [new ClipboardItem({ 'image/png': new Blob([bytes], { type: 'image/png' }) })]);
    }

    async function savePicture() {
      download(`${form.pictureFileStem()}.png`, await pictureFile(), 'image/png');
    }

    // For programs, as correlatore-cli simulate writes it; for a spreadsheet in a language that
    // writes decimals with a comma, also with ";" between the fields and decimal commas.
    const dataDialog = document.getElementById('salva-dati');
    dataDialog.addEventListener('close', () => {
      const choice = dataDialog.returnValue;
      if (choice === 'programmi' || choice === 'foglio')
        download(`${form.dataFileStem()}${choice === 'foglio' ? '-foglio' : ''}.csv`,
                 form.data(choice === 'foglio'), 'text/csv');
      returnFocus?.focus();
    });
    async function saveData() {
      if (!decimalComma()) {
        download(`${form.dataFileStem()}.csv`, form.data(false), 'text/csv');
        return;
      }
      dataDialog.returnValue = '';
      dataDialog.showModal();
    }

    // ---- The analysis ---------------------------------------------------------------------------
    const analysis = document.getElementById('analisi');
    const residuals = document.getElementById('analisi-scarti');
    function fillAnalysis() {
      const report = form.report();
      document.getElementById('analisi-vuota').hidden = !!report;
      document.getElementById('analisi-prova').hidden = !report;
      if (!report) return;
      document.getElementById('analisi-fatti').replaceChildren(...report.facts.flatMap(
        ([name, value]) => {
          const term = document.createElement('dt');
          term.textContent = name;
          const detail = document.createElement('dd');
          detail.textContent = value;
          detail.dataset.fact = name;
          return [term, detail];
        }));
      document.getElementById('analisi-giudizio').textContent = report.verdict;
      document.getElementById('analisi-numeri').textContent = report.numbers;
      drawFigure(residuals, report.residuals);
      residuals.setAttribute('aria-label', `Scarti z della prova: ${report.numbers}`);
      // A comparison made for another run no longer applies.
      analogueNumbers.hidden = true;
      analogueChart.hidden = true;
    }
    function drawFigure(canvas, figure) {
      canvas.width = figure.width;
      canvas.height = figure.height;
      canvas.style.width = `${figure.width}px`;
      canvas.style.height = `${figure.height}px`;
      const context = canvas.getContext('2d');
      context.putImageData(new ImageData(new Uint8ClampedArray(figure.rgba), figure.width,
                                         figure.height), 0, 0);
      context.font = '11px "Liberation Sans", sans-serif';
      context.textBaseline = 'middle';
      for (const text of figure.texts) {
        context.fillStyle = text.colour;
        context.textAlign = text.align;
        context.fillText(text.text, text.x, text.y);
      }
    }
    // The same run again with the analogue correlator on: asked for, as it takes a run's time.
    const analogueNumbers = document.getElementById('analisi-analogico');
    const analogueChart = document.getElementById('analisi-confronto');
    document.getElementById('analisi-confronta').addEventListener('click', () => {
      const comparison = form.analogueComparison();
      if (!comparison) return;
      analogueNumbers.textContent = comparison.numbers;
      analogueNumbers.hidden = false;
      drawFigure(analogueChart, comparison.chart);
      analogueChart.setAttribute(
        'aria-label', `Correlatore analogico e limitato, stessa prova: ${comparison.numbers}`);
      analogueChart.hidden = false;
    });
    analysis.addEventListener('toggle', () => { if (analysis.open) fillAnalysis(); });
    async function showAnalysis() {
      analysis.open = true;
      fillAnalysis();
      analysis.scrollIntoView({ block: 'nearest' });
      analysis.querySelector('summary').focus();
    }

    // A run has finished: an open analysis shows it.
    return { runFinished: () => { if (analysis.open) fillAnalysis(); } };
  }

  return { create };
})();
