// The dialog in the page: the form is built from the server's table of
// controls; the settings live in the server, which decodes and saves them.
'use strict';

const token = new URLSearchParams(location.search).get('t') || '';
const PAGE_LINES = 200;
let controls = [];          // the server's table
let settings = {};          // the settings as the page edits them
let running = false;
let closed = false;

const $ = (id) => document.getElementById(id);
const box = (id) => $('c' + id);

async function call(path, form) {
  const options = { headers: { 'X-Veltrix-Token': token } };
  if (form) {
    options.method = 'POST';
    options.body = new URLSearchParams(form);
  }
  const response = await fetch(path, options);
  const text = await response.text();
  let data = {};
  try { data = text ? JSON.parse(text) : {}; } catch (e) { data = { message: text }; }
  data.httpStatus = response.status;
  return data;
}

function say(text, failed) {
  $('status').textContent = text;
  $('status').classList.toggle('failed', !!failed);
}

// "S&ource": the text with its mnemonic underlined, and the key.
function labelled(element, label) {
  const text = document.createElement('span');
  element.append(text);
  const amp = label.indexOf('&');
  if (amp < 0 || amp + 1 >= label.length) {
    text.append(label);
    return '';
  }
  const u = document.createElement('u');
  u.textContent = label[amp + 1];
  text.append(label.slice(0, amp), u, label.slice(amp + 2));
  return label[amp + 1].toLowerCase();
}

// Lower-cases the file name part and puts `ext` in place of its extension.
function matchingName(source, ext) {
  const nameStart = source.lastIndexOf('/') + 1;
  let name = source.slice(0, nameStart) + source.slice(nameStart).replace(/[A-Z]/g, (c) => c.toLowerCase());
  const dot = name.lastIndexOf('.');
  if (dot >= nameStart) name = name.slice(0, dot);
  return name + ext;
}

function deriveNames() {
  const dest = matchingName(box(1100).value, '.txt');
  for (const c of controls) {
    if (!c.derive) continue;
    box(c.id).value = c.derive === '.txt' ? dest : matchingName(dest, c.derive);
  }
}

function isOn(key) { return Number(settings[key] || 0) !== 0; }

// What a check box shows: its setting, except that the detail boxes show
// unchecked while Suppress All Output is on.
function showChecks() {
  for (const c of controls) {
    if (c.kind !== 'check') continue;
    box(c.id).checked = isOn(c.key) && !(c.suppressed && isOn('SuppAllOutput'));
  }
}

function applyRules() {
  const checked = (id) => box(id).checked;
  for (const c of controls) {
    if (c.kind === 'button') continue;  // Decode and View Dest follow the runs
    const [unchecked, need, alsoNeed] = c.enable;
    const enabled = (!unchecked || !checked(unchecked)) && (!need || checked(need)) && (!alsoNeed || checked(alsoNeed));
    box(c.id).disabled = !enabled || closed;
    const label = document.querySelector(`label[for="c${c.id}"]`);
    if (label) label.classList.toggle('disabled', !enabled);
  }
}

function flagFields() {
  const form = {};
  for (const c of controls) if (c.kind === 'check') form['c' + c.id] = String(settings[c.key] >>> 0);
  return form;
}

function allFields() {
  const form = flagFields();
  for (const c of controls) if (c.kind === 'edit') form['c' + c.id] = box(c.id).value;
  return form;
}

function onCheck(c) {
  settings[c.key] = isOn(c.key) ? 0 : 1;
  showChecks();
  if (c.key === 'ForceMatch') deriveNames();
  applyRules();
  call('/api/flags', flagFields());
}

function makeCheck(c) {
  const label = document.createElement('label');
  label.className = 'check';
  const input = document.createElement('input');
  input.type = 'checkbox';
  input.id = 'c' + c.id;
  input.addEventListener('click', () => onCheck(c));
  label.htmlFor = input.id;
  label.append(input);
  const key = labelled(label, c.label);
  if (key) input.accessKey = key;
  input.title = c.help;
  return label;
}

function makeEdit(c) {
  const input = document.createElement('input');
  input.type = 'text';
  input.id = 'c' + c.id;
  input.spellcheck = false;
  input.title = c.help;
  if (c.id === 1100) input.addEventListener('input', () => { if (isOn('ForceMatch')) deriveNames(); });
  if (!c.label) return [input];
  const label = document.createElement('label');
  label.className = 'edit-label';
  label.htmlFor = input.id;
  const key = labelled(label, c.label);
  if (key) input.accessKey = key;
  return [label, input];
}

function buildDialog() {
  const groups = $('groups');
  const fieldsets = {};
  let row = null;
  for (const c of controls) {
    if (c.kind === 'button') {
      const button = document.createElement('button');
      button.type = c.id === 11001 ? 'submit' : 'button';
      button.id = 'c' + c.id;
      button.title = c.help;
      const key = labelled(button, c.label);
      if (key) button.accessKey = key;
      $('buttons').append(button);
      continue;
    }
    if (!fieldsets[c.group]) {
      const fieldset = document.createElement('fieldset');
      fieldset.id = 'group-' + c.group.replace(/ /g, '-').toLowerCase();
      const legend = document.createElement('legend');
      legend.textContent = c.group;
      fieldset.append(legend);
      if (c.group === 'Summaries') fieldset.classList.add('summaries');
      groups.append(fieldset);
      fieldsets[c.group] = fieldset;
    }
    // The font ID field sits beside its check box; everything else has a row.
    if (!(c.kind === 'edit' && !c.label)) {
      row = document.createElement('div');
      row.className = 'row';
      fieldsets[c.group].append(row);
    }
    row.append(...(c.kind === 'check' ? [makeCheck(c)] : makeEdit(c)));
  }
}

function fillDialog(state) {
  settings = state.settings;
  for (const c of controls) if (c.kind === 'edit') box(c.id).value = c.key === 'FirstDFID' ? settings.FirstDFID : settings[c.key];
  if (isOn('ForceMatch')) deriveNames();
  showChecks();
  box(111).disabled = !state.viewDest;
  applyRules();
}

function takeSettings(newSettings) {
  if (!newSettings) return;
  for (const c of controls) if (c.kind === 'check') settings[c.key] = newSettings[c.key];
  showChecks();
  applyRules();
}

function megabytes(n) { return n < 1e6 ? `${n} bytes` : `${(n / 1e6).toFixed(1)} MB`; }

async function watchDecode() {
  const p = await call('/api/progress');
  const files = p.fileCount > 1 ? ` (file ${p.fileNumber} of ${p.fileCount})` : '';
  $('progress-bar').max = Math.max(p.fileSize, 1);
  $('progress-bar').value = Math.min(p.bytesRead, p.fileSize);
  $('progress-text').textContent = p.fileSize ? `${megabytes(p.bytesRead)} of ${megabytes(p.fileSize)} read${files}`
                                              : `${megabytes(p.bytesRead)} read${files}`;
  if (p.running) {
    setTimeout(watchDecode, 200);
    return;
  }
  running = false;
  $('progress').hidden = true;
  say(p.message, p.failed);
  takeSettings(p.settings);
  box(11001).disabled = false;
  box(111).disabled = !p.viewDest;
  applyRules();
}

async function decode(event) {
  event.preventDefault();
  if (running || closed) return;
  box(111).disabled = true;
  box(11001).disabled = true;
  const reply = await call('/api/decode', allFields());
  if (!reply.started) {
    say(reply.message || 'The decode did not start.', true);
    takeSettings(reply.settings);
    box(11001).disabled = false;
    applyRules();
    return;
  }
  running = true;
  $('viewer').hidden = true;
  say('Decoding ' + box(1100).value + ' ...');
  $('progress-text').textContent = '';
  $('progress-bar').value = 0;
  $('progress').hidden = false;
  watchDecode();
}

// The listing, a page at a time from the server.
const view = { start: 0, end: 0, size: 0, current: -1 };

async function showPage(from, back) {
  const page = await call(`/api/listing?from=${from}&lines=${PAGE_LINES}&back=${back ? 1 : 0}`);
  if (page.httpStatus !== 200) {
    say(page.message || 'The listing cannot be shown.', true);
    return false;
  }
  Object.assign(view, { start: page.start, end: page.end, size: page.size, lines: page.lines });
  $('view-path').textContent = page.path;
  const problems = new Set(page.problems);
  const pre = $('view-lines');
  pre.replaceChildren();
  let offset = page.start;
  page.lines.forEach((text, i) => {
    const line = document.createElement('div');
    line.textContent = text || '\u200b';
    if (problems.has(i)) line.classList.add('problem');
    if (i === 0 && offset === view.current) line.classList.add('current');
    pre.append(line);
  });
  $('view-where').textContent = `bytes ${page.start}–${page.end} of ${page.size}`;
  $('view-up').disabled = page.start === 0;
  $('view-top').disabled = page.start === 0;
  $('view-down').disabled = page.end >= page.size;
  $('view-end').disabled = page.end >= page.size;
  return true;
}

async function viewDest() {
  view.current = -1;
  if (await showPage(0, false)) {
    $('viewer').hidden = false;
    box(111).disabled = true;  // as the dialog does once the listing is open
  }
}

async function goProblem(direction) {
  let from = view.current >= 0 ? view.current : view.start;
  if (view.current < 0 && direction === 'next' && view.lines && view.lines.length &&
      $('view-lines').firstChild && $('view-lines').firstChild.classList.contains('problem')) {
    view.current = view.start;
    await showPage(view.start, false);
    return;
  }
  const found = await call(`/api/problem?from=${from}&dir=${direction}`);
  if (!found.found) {
    say(direction === 'next' ? 'No problem lines below.' : 'No problem lines above.');
    return;
  }
  if ($('status').textContent.startsWith('No problem lines')) say('');
  view.current = found.offset;
  await showPage(found.offset, false);
}

// The file chooser: the server's folders, with the dialog's filter.
const chooser = { dir: '', filter: 0 };

async function browse(dir) {
  const listing = await call(`/api/browse?dir=${encodeURIComponent(dir)}&filter=${chooser.filter}`);
  if (listing.httpStatus !== 200) {
    $('chooser-message').textContent = listing.message;
    return;
  }
  chooser.dir = listing.path;
  chooser.parent = listing.parent;
  $('chooser-dir').textContent = listing.path;
  $('chooser-up').disabled = !listing.parent;
  const filter = $('chooser-filter');
  if (!filter.options.length) {
    listing.filters.forEach((text, i) => filter.add(new Option(text, String(i))));
  }
  filter.value = String(listing.filter);
  const entries = $('chooser-entries');
  entries.replaceChildren();
  for (const e of listing.entries) {
    const option = new Option(e.folder ? `[${e.name}]` : e.name, e.name);
    option.dataset.folder = e.folder ? '1' : '';
    entries.add(option);
  }
  $('chooser-message').textContent = listing.cut ? 'The folder holds more entries than are listed.' : '';
}

async function openChooser() {
  const source = box(1100).value;
  const slash = source.lastIndexOf('/');
  $('chooser-name').value = source.slice(slash + 1);
  $('chooser-message').textContent = '';
  await browse(slash > 0 ? source.slice(0, slash) : '');
  $('chooser').showModal();
}

async function chooseFile() {
  const name = $('chooser-name').value;
  if (!name) return;
  const path = name.startsWith('/') ? name : chooser.dir.replace(/\/$/, '') + '/' + name;
  const reply = await call('/api/choose', { path });
  if (reply.httpStatus !== 200) {
    $('chooser-message').textContent = reply.message;
    return;
  }
  box(1100).value = reply.path;
  if (isOn('ForceMatch')) deriveNames();
  $('chooser').close();
}

function wireChooser() {
  const entries = $('chooser-entries');
  entries.addEventListener('change', () => {
    const option = entries.selectedOptions[0];
    if (option && !option.dataset.folder) $('chooser-name').value = option.value;
  });
  entries.addEventListener('dblclick', () => {
    const option = entries.selectedOptions[0];
    if (!option) return;
    if (option.dataset.folder) browse(chooser.dir.replace(/\/$/, '') + '/' + option.value);
    else chooseFile();
  });
  entries.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter') return;
    event.preventDefault();
    entries.dispatchEvent(new Event('dblclick'));
  });
  $('chooser-up').addEventListener('click', () => browse(chooser.parent));
  $('chooser-filter').addEventListener('change', () => {
    chooser.filter = Number($('chooser-filter').value);
    browse(chooser.dir);
  });
  $('chooser-ok').addEventListener('click', chooseFile);
  $('chooser-cancel').addEventListener('click', () => $('chooser').close());
  $('chooser-form').addEventListener('submit', (event) => { event.preventDefault(); chooseFile(); });
}

async function closeProgram() {
  const reply = await call('/api/close', allFields());
  closed = true;
  for (const element of document.querySelectorAll('#dialog input, #dialog button')) element.disabled = true;
  say((reply.message || '') + ' Veltrix has stopped; this page can be closed.', !reply.saved);
}

async function start() {
  const state = await call('/api/state');
  if (state.httpStatus !== 200) {
    say('This page has no access to Veltrix: open the address that veltrix --ui printed.', true);
    return;
  }
  controls = state.controls;
  buildDialog();
  fillDialog(state);
  $('about-title').textContent = `About ${state.product}`;
  $('about-1011').textContent = `${state.product} Version ${state.version}`;
  $('dialog').addEventListener('submit', decode);
  box(11003).addEventListener('click', openChooser);
  box(111).addEventListener('click', viewDest);
  box(11002).addEventListener('click', closeProgram);
  box(11004).addEventListener('click', () => window.open('/help?t=' + encodeURIComponent(token), 'veltrix-help'));
  box(1009).addEventListener('click', () => $('about').showModal());
  $('about-ok').addEventListener('click', () => $('about').close());
  $('view-top').addEventListener('click', () => showPage(0, false));
  $('view-up').addEventListener('click', () => showPage(view.start, true));
  $('view-down').addEventListener('click', () => showPage(view.end, false));
  $('view-end').addEventListener('click', () => showPage(view.size, true));
  $('view-next').addEventListener('click', () => goProblem('next'));
  $('view-prev').addEventListener('click', () => goProblem('prev'));
  $('view-close').addEventListener('click', () => { $('viewer').hidden = true; });
  wireChooser();
  if (state.running) {
    running = true;
    box(11001).disabled = true;
    $('progress').hidden = false;
    watchDecode();
  }
}

start();
