// Runs the risk view's runs off the page's thread, with the same core as
// the page. A message {type: 'run', id, request, separator} starts them
// (request: {scenario, rows, runs, seed}, as zr_risk_start takes it) and is
// answered by {id, progress: {done, status}} now and then, and at the end by
// {id, view, riskText}: the view's model and the evaluator's "risk" member
// as text, byte for byte; {id, answer} when the request has a problem, or
// {id, error} when the core failed. {type: 'cancel', id} stops them: the
// runs go in stretches, and the worker reads its messages between them.
'use strict';

importScripts('zeltano-core.js');

let core = createZeltanoCore();
let current = 0;             // the id of the runs under way, 0 when none
const STEP = 250;            // runs a call
const SLICE_MS = 40;         // calls between two looks at the messages

// A turn of the event loop without a timer's delay.
const channel = new MessageChannel();
const waiting = [];
channel.port1.onmessage = () => waiting.shift()();
const nextTurn = () => new Promise((resolve) => {
  waiting.push(resolve);
  channel.port2.postMessage(null);
});

self.onmessage = async ({ data }) => {
  if (data.type === 'cancel') {
    if (current === data.id) current = 0;
    return;
  }
  const { id, request, separator } = data;
  current = id;
  try {
    const c = await core;
    if (current !== id) return;
    const started = JSON.parse(c.callText('zr_risk_start', JSON.stringify(request), separator));
    if (!('runs' in started)) {
      self.postMessage({ id, answer: started });
      return;
    }
    let step = { done: 0, status: started.status };
    while (step.done < started.runs) {
      const sliceEnd = performance.now() + SLICE_MS;
      do {
        step = JSON.parse(c.callText('zr_risk_step', STEP));
      } while (step.done < started.runs && performance.now() < sliceEnd);
      self.postMessage({ id, progress: step });
      await nextTurn();
      if (current !== id) return;  // cancelled, or other runs asked for
    }
    const view = JSON.parse(c.callText('zr_risk_result', separator));
    self.postMessage({ id, view, riskText: c.callText('zr_risk_json', separator) });
  } catch (error) {
    // A failure inside the core may have left its memory in any state: the
    // next runs get a new instance.
    core = createZeltanoCore();
    self.postMessage({ id, error: String(error) });
  } finally {
    if (current === id) current = 0;
  }
};
