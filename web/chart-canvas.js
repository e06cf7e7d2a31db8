// The chart box of the page: performs the core's drawing operations on a
// canvas, in the chart's twips, as the window's chart box does. The canvas
// carries its drawing size (the form's chart box less its frame) and the
// twips per pixel as the page build wrote them from the form and the core.
// A classic script, like page.js, which starts it with createChartCanvas.
'use strict';

// `realText(value)`: the core's text for a floating value in the chart.
// Returns { perform(operations), redraw() }.
function createChartCanvas(canvas, realText) {
  const TWIPS_PER_PIXEL = Number(canvas.dataset.twipsPerPixel);
  const CHART_WIDTH = Number(canvas.dataset.drawingWidth);
  const MIN_TEXT_PX = 11;  // CSS px: legible on a 360 px phone

  // Performs drawing operations and keeps those since the last clear, so the
  // drawing can be made again at another size or pixel ratio.
  const chart = {
    kept: [],
    state: null,

    perform(operations) {
      for (const op of operations) {
        if (op.op === 'Cls') this.kept = [];
        this.kept.push(op);
      }
      this.draw(operations);
    },

    redraw() {
      const ratio = window.devicePixelRatio || 1;
      const width = Math.max(1, Math.round(canvas.clientWidth * ratio));
      const height = Math.max(1, Math.round(canvas.clientHeight * ratio));
      if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
      }
      this.draw(this.kept);
    },

    draw(operations) {
      const context = canvas.getContext('2d');
      const ratio = canvas.width / Math.max(1, canvas.clientWidth);
      const scale = canvas.clientWidth / CHART_WIDTH / TWIPS_PER_PIXEL;  // twips to CSS pixels
      const device = (twips) => twips * scale * ratio;
      context.setTransform(1, 0, 0, 1, 0, 0);
      this.state ??= { width: 1, color: 'rgb(0,0,0)', x: 0, y: 0, dash: [], dashEnd: null, phase: 0 };
      const state = this.state;
      const rgb = ([r, g, b]) => `rgb(${r},${g},${b})`;
      let line = null;  // the last text drawn: its line, where it starts and ends
      for (const op of operations) {
        switch (op.op) {
          case 'Cls':
            state.dash = [];
            context.setLineDash([]);
            context.fillStyle = getComputedStyle(canvas).backgroundColor;
            context.fillRect(0, 0, canvas.width, canvas.height);
            state.x = state.y = 0;
            break;
          case 'DrawWidth':
            state.width = op.width;
            break;
          case 'Line': {
            const width = Math.max(1, Math.round(Math.max(state.width, 1) * ratio));
            let [x1, y1, x2, y2] = [op.x1, op.y1, op.x2, op.y2].map(device);
            context.lineCap = 'round';
            if (x1 === x2 || y1 === y2) {
              // Axes and marks on whole device pixels, square ended: crisp.
              const snap = (v) => (width % 2 ? Math.round(v - 0.5) + 0.5 : Math.round(v));
              [x1, y1, x2, y2] = [x1, y1, x2, y2].map(snap);
              context.lineCap = 'square';
            }
            // A dashed line that starts where the last one ended carries
            // the pattern on, so a curve of short segments shows its dashes.
            if (state.dash.length > 0) {
              const pattern = state.dash.map((length) => length * scale * TWIPS_PER_PIXEL * ratio);
              const end = state.dashEnd;
              if (!end || end[0] !== x1 || end[1] !== y1) state.phase = 0;
              context.setLineDash(pattern);
              context.lineDashOffset = state.phase;
              context.lineCap = 'butt';
              state.phase += Math.hypot(x2 - x1, y2 - y1);
              state.dashEnd = [x2, y2];
            } else {
              context.setLineDash([]);
            }
            context.strokeStyle = rgb(op.color);
            context.lineWidth = width;
            context.beginPath();
            context.moveTo(x1, y1);
            context.lineTo(x2, y2);
            context.stroke();
            break;
          }
          case 'LineDash':
            state.dash = op.pattern;
            state.phase = 0;
            break;
          case 'ForeColor':
            state.color = rgb(op.color);
            break;
          case 'CurrentX':
            state.x = op.x;
            break;
          case 'CurrentY':
            state.y = op.y;
            break;
          case 'FontName':
            break;  // the chart always asks for the default face
          case 'Print': {
            const text = 'text' in op ? op.text : 'int' in op ? String(op.int) : realText(op.real);
            // The form's 11 px at full size; a narrower chart (a phone)
            // shrinks its drawing, never its words below that.
            const formSize = 11 * scale * TWIPS_PER_PIXEL * ratio;
            const size = Math.max(MIN_TEXT_PX * ratio, formSize);
            const face = 'Arial, "Liberation Sans", Arimo, Helvetica, sans-serif';
            // Text drawn larger than the drawing's scale grows about its
            // middle, stays inside the box and after the text before it on
            // its line ("Költség / Haszon" is three texts).
            context.font = `${formSize}px ${face}`;
            const formWidth = context.measureText(text).width;
            context.font = `${size}px ${face}`;
            const width = context.measureText(text).width;
            let x = device(state.x) - (width - formWidth) / 2;
            const y = device(state.y);
            x = Math.max(0, Math.min(x, canvas.width - width));
            if (line && Math.abs(line.y - y) < size / 2 && x >= line.start && x < line.end) x = line.end;
            line = { y, start: x, end: x + width };
            context.textBaseline = 'top';
            context.fillStyle = state.color;
            context.fillText(text, x, y);
            break;
          }
          default:
            break;
        }
      }
      // The chart's own words name it for a screen reader.
      canvas.setAttribute('aria-label', this.kept.filter((op) => op.op === 'Print' && 'text' in op)
        .map((op) => op.text).join(' '));
    },
  };
  new ResizeObserver(() => chart.redraw()).observe(canvas);
  // A new pixel ratio (zoom, another screen) changes no CSS size: watch it too.
  (function watchPixelRatio() {
    matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`)
      .addEventListener('change', () => {
        chart.redraw();
        watchPixelRatio();
      }, { once: true });
  })();
  return chart;
}
