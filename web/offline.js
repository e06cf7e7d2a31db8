// Registers the page's service worker, which keeps the page's files so that
// it also opens and computes with no network. Only where a browser has one
// for the page: served over http(s); opened from a folder (file://), the
// page runs as it always has, its files being on the disk anyway. The
// browser itself looks for a new version of the worker on each visit.
'use strict';

if (/^https?:$/.test(window.location.protocol) && 'serviceWorker' in navigator) {
  window.addEventListener('load', () => {
    navigator.serviceWorker.register('service-worker.js').catch((error) => {
      console.warn(`The page works, but will not work offline: ${error}`);
    });
  });
}
