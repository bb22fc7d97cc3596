// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

'use strict';
// The page around the editor: it draws the editor's state after every command, hands it the user's
// files and typing, shows its message boxes and turns what it writes into downloads. Every decision
// about the files themselves is the editor's.
(async () => {
  const ARRAYS = ['eb', 'em', 'rb', 'rm'];
  // A field's name for screen readers is the window's: "Клавиша 2, английская, заглавные".
  const LAYOUT_NAMES = ['английская, заглавные', 'английская, строчные', 'русская, заглавные', 'русская, строчные'];
  const KEY_NAMES = ['0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '*', '#'];
  const GRID_ORDER = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 11]; // the keypad: * 0 # in the last row
  const MSG_STOP = 16, MSG_YES_NO = 36, MSG_WARNING = 48, MSG_QUESTION = 51;
  const ANSWER_CANCEL = 2, ANSWER_YES = 6, ANSWER_NO = 7;
  const FIRMWARE_KEY = 'klavoset.firmware:'; // + identity string: the description of a found firmware
  const $ = (selector) => document.querySelector(selector);

  const module = await createKlavoset();
  const design = module.design();
  const session = new module.Session();

  // Firmware found in images of earlier visits. The browser may refuse its storage (a private window, a
  // page opened from disk): a firmware found then is known for this visit only.
  function readDescriptions() {
    try {
      const store = window.localStorage;
      for (let i = 0; i < store.length; i++) {
        const key = store.key(i);
        if (!key || !key.startsWith(FIRMWARE_KEY)) continue;
        const why = session.addDescription(store.getItem(key));
        if (why) console.warn(`Klavoset: ${key}: ${why}`);
      }
    } catch (e) { /* nothing kept */ }
  }
  function keepDescriptions() {
    for (const d of session.takeRemembered()) {
      try { window.localStorage.setItem(FIRMWARE_KEY + d.id, d.text); } catch (e) { /* this visit only */ }
    }
  }
  readDescriptions();
  const menuCaption = Object.fromEntries(design.menu.map((m) => [m.name, m.caption]));
  const tooltip = Object.fromEntries(design.toolbar.filter((t) => t.key).map((t) => [t.key, t.tooltip]));

  // Captions, tooltips and pictures as the window has them.
  for (const el of document.querySelectorAll('[data-item]')) {
    const item = el.dataset.item;
    if (tooltip[item]) el.title = tooltip[item];
    const caption = el.querySelector('.caption');
    if (caption) caption.textContent = menuCaption[item];
  }
  for (const el of document.querySelectorAll('[data-menu]')) el.textContent = menuCaption[el.dataset.menu];
  for (const el of document.querySelectorAll('.icon[data-image]')) {
    const svg = document.querySelector(`#icons svg[data-image="${el.dataset.image}"]`);
    if (svg) el.append(svg.cloneNode(true));
  }

  const grid = $('#grid');
  const fields = ARRAYS.map(() => []);
  for (const key of GRID_ORDER) {
    const block = document.createElement('div');
    block.className = 'key';
    const label = document.createElement('span');
    label.className = 'label';
    label.textContent = KEY_NAMES[key];
    block.append(label);
    ARRAYS.forEach((name, a) => {
      const input = document.createElement('input');
      input.type = 'text';
      input.dataset.layout = name;
      input.dataset.key = String(key);
      input.maxLength = design.maxLength[key];
      input.spellcheck = false;
      input.autocomplete = 'off';
      input.setAttribute('aria-label', `Клавиша ${KEY_NAMES[key]}, ${LAYOUT_NAMES[a]}`);
      if (a >= 2) input.className = 'ru';
      input.addEventListener('input', () => {
        session.type(a, key, input.value);
        render();
      });
      fields[a][key] = input;
      block.append(input);
    });
    grid.append(block);
  }
  const status = $('#status');
  const panels = design.panels.map((p, i) => {
    const span = document.createElement('span');
    span.dataset.panel = String(i + 1);
    span.title = p.tooltip;
    span.style.flex = `0 0 ${p.width / 12}px`; // twips at 96 dpi, with room for the frame and padding
    status.append(span);
    return span;
  });

  let beeps = 0;
  let changed = false;
  function render() {
    const st = session.state();
    st.fields.forEach((row, a) => row.forEach((f, key) => {
      const input = fields[a][key];
      if (input.value !== f.text) input.value = f.text;
      input.disabled = !f.enabled;
      input.classList.toggle('editable', f.editable);
      input.style.visibility = f.visible ? '' : 'hidden';
    }));
    // Only a changed panel is touched: the status is a live region, and each write would be read out.
    st.panels.forEach((text, i) => { if (panels[i].textContent !== text) panels[i].textContent = text; });
    document.body.classList.toggle('warning', st.warning);
    if (st.beeps > beeps) beep();
    beeps = st.beeps;
    changed = st.panels[5] === '*';
    const enabled = (item) => st.items[item] && st.items[item].enabled;
    $('#save-fullflash').disabled = !enabled('Save1As');
    // A patch needs a loaded image to differ from; without one the command would silently do nothing.
    $('#save-patch').disabled = !enabled('SaveAsVKP') || st.panels[6] === '';
    $('#save-layout').disabled = !enabled('Save2As');
    for (const id of ['open-fullflash', 'open-layout', 'koi8', 'wap']) $(`#${id}`).disabled = false;
    for (const label of document.querySelectorAll('label.tool')) label.classList.remove('disabled');
    $('#koi8').checked = st.items.Koi.checked;
    $('#wap').value = st.items.WAP_R.checked ? 'ru' : st.items.WAP_E.checked ? 'en' : 'no';
  }

  let audio = null;
  function beep() {
    try {
      audio = audio || new AudioContext();
      const tone = audio.createOscillator();
      const gain = audio.createGain();
      gain.gain.value = 0.05;
      tone.frequency.value = 880;
      tone.connect(gain).connect(audio.destination);
      tone.start();
      tone.stop(audio.currentTime + 0.08);
    } catch (e) { /* no sound is no loss */ }
  }

  // One modal box at a time, answered by its buttons: the value of the button pressed.
  const dialog = $('#message');
  const BUTTONS = {
    [MSG_QUESTION]: [['yes', 'Да'], ['no', 'Нет'], ['cancel', 'Отмена']],
    [MSG_YES_NO]: [['yes', 'Да'], ['no', 'Нет']],
  };
  function box(text, style) {
    dialog.className = style === MSG_STOP ? 'stop' : style === MSG_YES_NO ? 'question'
      : style === MSG_WARNING || style === MSG_QUESTION ? 'warning' : '';
    dialog.querySelector('.icon').textContent = style === MSG_STOP ? '×' : style === MSG_YES_NO ? '?'
      : style === 0 ? '' : '!';
    dialog.querySelector('.text').textContent = text.replace(/\r\n/g, '\n');
    const buttons = dialog.querySelector('.buttons');
    buttons.replaceChildren();
    const answers = BUTTONS[style] || [['ok', 'OK']];
    for (const [value, caption] of answers) {
      const b = document.createElement('button');
      b.value = value;
      b.textContent = caption;
      buttons.append(b);
    }
    dialog.returnValue = '';
    dialog.showModal();
    buttons.firstChild.focus();
    return new Promise((resolve) => {
      dialog.addEventListener('close', () => resolve(dialog.returnValue || 'cancel'), { once: true });
    });
  }

  async function showBoxes() {
    for (const b of session.boxes()) await box(b.text, b.style);
  }

  // Runs a command until no question stops it. Each question the editor asks stops the command; the page
  // asks it and runs the command again with all the answers so far, so that every question is answered
  // by the user's own button, and a No or Cancel reaches the editor, which ends the command its own way.
  let busy = false;
  async function run(command) {
    if (busy) return;
    busy = true;
    try {
      const answers = [];
      for (;;) {
        command(answers);
        render();
        deliver();
        keepDescriptions();
        const opened = session.takeOpened();
        if (opened) window.open(opened, '_blank', 'noopener');
        await showBoxes();
        const question = session.question();
        if (!question) break;
        const style = session.questionStyle();
        const answer = await box(question, style);
        // A Yes/No box has no Cancel: closed with Escape, it is a No.
        answers.push(answer === 'yes' ? ANSWER_YES : answer === 'no' || style === MSG_YES_NO ? ANSWER_NO : ANSWER_CANCEL);
      }
    } finally {
      busy = false;
    }
  }

  async function open(file, how) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    await run((answers) => {
      const at = session.stage(bytes.length);
      module.HEAPU8.set(bytes, at); // read the heap after staging: it may have grown
      session[how](file.name, answers);
    });
  }

  function deliver() {
    const d = session.download();
    if (!d) return;
    const blob = new Blob([d.bytes], { type: 'application/octet-stream' });
    session.clearDownload();
    const a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = d.name;
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 60000);
  }

  function picker(id, how) {
    const input = $(`#${id}`);
    input.addEventListener('change', async () => {
      const file = input.files[0];
      input.value = ''; // the same file can be chosen again
      if (file) await open(file, how);
    });
  }
  picker('open-fullflash', 'openFullflash');
  picker('open-layout', 'openLayout');
  $('#save-fullflash').addEventListener('click', () => run((answers) => session.saveFullflash(answers)));
  $('#save-patch').addEventListener('click', () => run((answers) => session.savePatch(answers)));
  $('#save-layout').addEventListener('click', () => run((answers) => session.saveLayout(answers)));
  $('#koi8').addEventListener('change',
    (e) => run((answers) => session.command(e.target.checked ? 'Koi' : 'Uni', answers)));
  $('#wap').addEventListener('change', (e) => {
    const item = { no: 'WAP_No', en: 'WAP_E', ru: 'WAP_R' }[e.target.value];
    run((answers) => session.command(item, answers));
  });
  for (const b of document.querySelectorAll('[data-command]'))
    b.addEventListener('click', () => run((answers) => session.command(b.dataset.command, answers)));

  const help = $('#help-page');
  $('#help').addEventListener('click', () => {
    const frame = help.querySelector('iframe');
    if (!frame.srcdoc) frame.srcdoc = $('#help-source').textContent;
    help.showModal();
  });

  // A file dropped anywhere on the page opens as if chosen, by its extension.
  document.addEventListener('dragover', (e) => { e.preventDefault(); });
  document.addEventListener('drop', (e) => {
    e.preventDefault();
    const file = e.dataTransfer.files[0];
    if (file) open(file, 'openDropped');
  });
  window.addEventListener('beforeunload', (e) => {
    if (changed) { e.preventDefault(); e.returnValue = ''; }
  });
  render();
})();
