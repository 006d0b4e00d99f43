// The fifteen controls of the window, built from the control table that the desktop uses
// (exported at build time): the same boxes, 1 px = 15 twips, the same texts, fonts and colours.
const Controls = (() => {
  let twipsPerPixel = 15; // set from the layout by create()
  const px = (twips) => Math.trunc(twips / twipsPerPixel);

  function place(element, row) {
    element.id = row.name;
    element.classList.add('control');
    element.style.left = `${px(row.left)}px`;
    element.style.top = `${px(row.top)}px`;
    if (!row.autoSize) {
      element.style.width = `${px(row.width)}px`;
      element.style.height = `${px(row.height)}px`;
    }
    element.style.fontSize = `${row.pointSize}pt`;
    element.style.fontWeight = row.bold ? '700' : '400';
    if (row.textColour) element.style.color = row.textColour;
  }

  function label(row) {
    const element = document.createElement('div');
    element.className = 'label';
    element.textContent = row.caption;
    return element;
  }

  // Label3: its three numbers apart, where the engine's axisNumberPlaces puts them for their
  // widths in the page's font.
  function axisNumbersLabel(row, numbers) {
    const element = label(row);
    element.textContent = '';
    element.style.width = `${px(row.width)}px`;
    element.setAttribute('aria-label', row.caption);
    const spans = numbers.map((text) => {
      const span = document.createElement('span');
      span.className = 'number';
      span.textContent = text;
      element.append(span);
      return span;
    });
    const strut = document.createElement('span');
    strut.textContent = ' ';
    element.append(strut); // gives the label its line's height
    element.placeNumbers = (places) => {
      const lefts = places(...spans.map((span) => span.offsetWidth));
      spans.forEach((span, i) => { span.style.left = `${lefts[i]}px`; });
    };
    return element;
  }

  function button(row) {
    const element = document.createElement('button');
    element.type = 'button';
    element.textContent = row.caption;
    return element;
  }

  // An editable drop-down list: the field keeps exactly what is typed (no completion, no
  // correction, no trimming); the arrow, Alt+Down or F4 opens the items; Up and Down step through
  // them as on the desktop.
  function comboBox(row, items) {
    const element = document.createElement('div');
    element.className = 'combo';
    const field = document.createElement('input');
    field.type = 'text';
    field.value = row.caption;
    for (const [name, value] of [['autocomplete', 'off'], ['autocorrect', 'off'],
      ['autocapitalize', 'off'], ['spellcheck', 'false'],
      ['aria-label', row.caption]]) // a screen reader names a list by what it sets
      field.setAttribute(name, value);
    const arrow = document.createElement('button');
    arrow.type = 'button';
    arrow.className = 'arrow';
    arrow.tabIndex = -1;
    arrow.textContent = '\u25bc';
    const list = document.createElement('ul');
    list.hidden = true;
    list.setAttribute('role', 'listbox');
    for (const item of items) {
      const entry = document.createElement('li');
      entry.textContent = item;
      entry.setAttribute('role', 'option');
      entry.addEventListener('mousedown', (event) => {
        event.preventDefault();
        pick(item);
      });
      list.append(entry);
    }
    const current = () => items.indexOf(field.value);
    const show = (open) => {
      list.hidden = !open;
      [...list.children].forEach((entry, i) => entry.classList.toggle('current', i === current()));
    };
    const pick = (item) => {
      field.value = item;
      show(false);
      field.focus();
    };
    arrow.addEventListener('mousedown', (event) => {
      event.preventDefault();
      show(list.hidden);
      field.focus();
    });
    field.addEventListener('blur', () => show(false));
    field.addEventListener('keydown', (event) => {
      if ((event.altKey && event.key === 'ArrowDown') || event.key === 'F4') {
        show(list.hidden);
      } else if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
        const step = event.key === 'ArrowDown' ? 1 : -1;
        const next = Math.min(Math.max(current() + step, 0), items.length - 1);
        field.value = items[current() < 0 ? 0 : next];
        show(!list.hidden);
      } else if (event.key === 'Enter' || event.key === 'Escape') {
        show(false);
      } else {
        return;
      }
      event.preventDefault();
    });
    element.append(field, arrow, list);
    element.text = () => field.value;
    return element;
  }

  function pictureBox(formulaDataUrl) {
    const element = document.createElement('div');
    element.className = 'picture';
    element.tabIndex = 0;
    const image = document.createElement('img');
    image.src = formulaDataUrl;
    image.alt = 'Crt = (2 / \u03c0) ArcSen [1 / (1 + (Ni/Si)\u00b2)]';
    element.append(image);
    return element;
  }

  // Builds the controls in tab order inside `form`; returns them by name.
  function create(form, layout, formulaDataUrl) {
    twipsPerPixel = layout.twipsPerPixel;
    const controls = {};
    for (const row of layout.controls) {
      let element;
      if (row.kind === 'label')
        element = row.name === 'Label3' ? axisNumbersLabel(row, layout.axisNumbers) : label(row);
      else if (row.kind === 'button') element = button(row);
      else if (row.kind === 'combo') element = comboBox(row, layout.lists[row.name]);
      else element = pictureBox(formulaDataUrl);
      place(element, row);
      form.append(element);
      controls[row.name] = element;
    }
    return controls;
  }

  return { create };
})();
