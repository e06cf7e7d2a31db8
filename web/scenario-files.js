// The scenario files (*.zeltano.json) the window opens and saves. The core
// writes and reads them (zr_scenario_text, zr_parse_scenario), so a file
// saved here is byte for byte what the window saves for the same texts, and
// a file the window refuses is refused here with the window's reason.
'use strict';

// `lineOf` makes the core's line of box texts; `read()` gives the boxes'
// texts with the carrier keys when the carrier is known, `write(texts,
// carrier)` sets them (carrier: the keys, or null); `calculate` runs
// Calculate on what the boxes hold.
function createScenarioFiles({ coreCall, coreReady, separator, lineOf, read, write, calculate, showMessage }) {
  const FILE_NAME = 'forgatokonyv.zeltano.json';
  const CANNOT_SAVE = 'A forgatókönyv nem menthető: a tartalma nem állítható elő.';
  const words = JSON.parse(document.getElementById('analysis-texts').textContent).scenario;

  // Downloads the file for the boxes' texts.
  async function save() {
    await coreReady();
    const text = coreCall('zr_scenario_text', lineOf(read()), separator);
    if (text === '') {
      await showMessage(CANNOT_SAVE, null, words.saveTitle);
      return;
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([text], { type: 'application/json' }));
    link.download = FILE_NAME;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60_000);
  }

  // Reads `file` into the boxes and calculates, as the window opens one; a
  // file that is no scenario leaves the boxes alone and is refused with why.
  async function open(file) {
    await coreReady();
    const answer = JSON.parse(coreCall('zr_parse_scenario', await file.text(), separator));
    if ('error' in answer) {
      await showMessage(`${words.cannotOpen}\n${file.name}\n\n${answer.error}`, null, words.openTitle);
      return;
    }
    write(answer.texts, answer.carrier);
    await calculate();
  }

  return { save, open };
}
