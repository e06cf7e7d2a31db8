// Added to the core's script (--post-js): a call into the core whose text
// arguments go to the heap. ccall and cwrap put them on the stack, which has
// 5 MiB: a box of 1.3 million characters overran it and broke the module.
// Numbers pass as they are; the answer is read as UTF-8 text.
Module['callText'] = function (name, ...args) {
  const held = [];
  try {
    const values = args.map((arg) => {
      if (typeof arg !== 'string') return arg;
      const size = lengthBytesUTF8(arg) + 1;
      const at = _malloc(size);
      if (!at) throw new Error('out of memory for a text of ' + size + ' bytes');
      held.push(at);
      stringToUTF8(arg, at, size);
      return at;
    });
    return UTF8ToString(Module['_' + name](...values));
  } finally {
    for (const at of held) _free(at);
  }
};
