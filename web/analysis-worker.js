// Runs the analysis off the page's thread, with the same core as the page.
// A message {id, texts, separator} is answered with {id, answer}: the core's
// analysis of those texts, or {id, error} when the core failed.
'use strict';

importScripts('zeltano-core.js');

let core = createZeltanoCore();

self.onmessage = async ({ data: { id, texts, separator } }) => {
  try {
    const answer = (await core).callText('zr_analyse', JSON.stringify(texts), separator);
    self.postMessage({ id, answer: JSON.parse(answer) });
  } catch (error) {
    // A failure inside the core may have left its memory in any state: the
    // next analysis gets a new instance.
    core = createZeltanoCore();
    self.postMessage({ id, error: String(error) });
  }
};
