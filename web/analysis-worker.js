// Runs the analysis off the page's thread, with the same core as the page.
// A message {id, texts, separator} is answered with {id, answer}: the core's
// analysis of those texts, or {id, error} when the core failed.
'use strict';

importScripts('zeltano-core.js');

const analyse = createZeltanoCore().then((core) => core.cwrap('zr_analyse', 'string', ['string', 'string']));

self.onmessage = async ({ data: { id, texts, separator } }) => {
  try {
    self.postMessage({ id, answer: JSON.parse((await analyse)(JSON.stringify(texts), separator)) });
  } catch (error) {
    self.postMessage({ id, error: String(error) });
  }
};
