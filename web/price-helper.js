// "Átszámítás": the energy price helper next to box 15. The conversion, its
// defaults and its messages are the core's (zr_energy_carriers,
// zr_energy_price); this script only lays out the dialog, writes the core's
// value into the box and tells the page which carrier it wrote it with. A
// classic script, like page.js, which starts it with createPriceHelper.
'use strict';

// `box`: box 15; `coreCall`: a call into the page's core; `separator`: the
// page's decimal separator; `known()`: the carrier keys of the scenario
// ({Energiahordozo, Egysegar, Hatasfok, Co2tenyezo}) or null, which the
// dialog starts from; `written(keys)`: told the keys each time "Beírás"
// writes the box.
function createPriceHelper({ box, coreCall, separator, known, written }) {
  // The helper's words are the core's, as the window's dialog has them.
  const words = JSON.parse(document.getElementById('analysis-texts').textContent).energyPrice;
  const element = (tag, properties = {}, ...children) => {
    const made = Object.assign(document.createElement(tag), properties);
    made.append(...children);
    return made;
  };
  const open = element('button', { type: 'button', id: 'Atszamitas', textContent: 'Átszámítás' });
  open.setAttribute('aria-haspopup', 'dialog');
  open.title = 'A számla egységárából Ft/kWh hasznos hő';
  box.after(open);

  // The dialog, made when it is first opened.
  let show = null;
  open.addEventListener('click', () => {
    show ??= setUp();
    show();
  });

  function setUp() {
    const carriers = JSON.parse(coreCall('zr_energy_carriers', separator));

    const fields = {};
    const captions = {};
    function row(key, caption) {
      fields[key] = element('input', { id: `ar-${key}`, type: 'text', inputMode: 'decimal' });
      captions[key] = element('label', { htmlFor: `ar-${key}`, textContent: caption });
      return element('div', { className: 'row' }, captions[key], fields[key]);
    }
    const carrier = element('select', { id: 'ar-carrier' },
      ...carriers.map((c, i) => element('option', { value: String(i), textContent: c.name })));
    const result = element('p', { id: 'ar-result' });
    const message = element('p', { id: 'ar-message', role: 'status' });
    const co2 = element('p', { id: 'ar-co2' });
    const write = element('button', { type: 'submit', id: 'ar-write', textContent: words.write });
    const cancel = element('button', { type: 'button', textContent: 'Mégse' });
    const title = element('h2', { id: 'ar-title', textContent: words.title });
    const dialog = element('dialog', { id: 'Atszamitas-ablak' },
      element('form', { method: 'dialog' },
        title,
        element('div', { className: 'row' },
          element('label', { htmlFor: 'ar-carrier', textContent: words.carrier }), carrier),
        row('unit_price', ''), row('heating_value', ''), row('efficiency', words.efficiency),
        element('fieldset', {},
          element('legend', { textContent: words.bandTitle }),
          row('yearly_use', ''), row('band', ''), row('price_above_band', '')),
        row('co2', words.co2Factor),
        result, message, co2,
        element('div', { className: 'buttons' }, write, cancel)));
    dialog.setAttribute('aria-labelledby', 'ar-title');
    // In the document only while open: closed, it is no part of the page.
    dialog.addEventListener('close', () => dialog.remove());

    function convert() {
      const request = { carrier: Number(carrier.value) };
      for (const [key, input] of Object.entries(fields)) request[key] = input.value;
      for (const name of ['Akoll', 'Qkoll', 'Elettartam']) {
        request[name] = document.getElementById(`${name}b`).value;
      }
      return JSON.parse(coreCall('zr_energy_price', JSON.stringify(request), separator));
    }
    function update() {
      const answer = convert();
      result.textContent =
        typeof answer.price === 'string' ? words.result.replace('%1', answer.price) : '';
      message.textContent = answer.message ?? '';
      co2.textContent = answer.co2 ?? '';
    }
    function chooseCarrier() {
      const c = carriers[Number(carrier.value)];
      captions.unit_price.textContent = words.unitPrice.replace('%1', c.unit);
      captions.heating_value.textContent = words.heatingValue.replace('%1', c.unit);
      captions.yearly_use.textContent = words.yearlyUse.replace('%1', c.unit);
      captions.band.textContent = words.band.replace('%1', c.unit);
      captions.price_above_band.textContent = words.priceAboveBand.replace('%1', c.unit);
      fields.heating_value.value = c.heating_value;
      fields.efficiency.value = c.efficiency;
      fields.co2.value = c.co2;
      update();
    }
    carrier.addEventListener('change', chooseCarrier);
    for (const input of Object.values(fields)) input.addEventListener('input', update);
    write.addEventListener('click', (event) => {
      const answer = convert();
      if (typeof answer.price !== 'string') {
        event.preventDefault();
        message.textContent = answer.message ?? '';
        return;
      }
      box.value = answer.price;
      box.dispatchEvent(new Event('input', { bubbles: true }));
      written({
        Energiahordozo: carriers[Number(carrier.value)].key,
        Egysegar: fields.unit_price.value,
        Hatasfok: fields.efficiency.value,
        Co2tenyezo: fields.co2.value,
      });
    });
    cancel.addEventListener('click', () => dialog.close());
    chooseCarrier();

    return () => {
      // From the scenario's carrier, when it names one.
      const keys = known();
      const index = keys ? carriers.findIndex((c) => c.key === keys.Energiahordozo) : -1;
      if (index >= 0) {
        carrier.value = String(index);
        chooseCarrier();
        fields.unit_price.value = keys.Egysegar;
        fields.efficiency.value = keys.Hatasfok;
        fields.co2.value = keys.Co2tenyezo;
      }
      document.body.append(dialog);
      update();  // the scenario boxes may have changed since
      dialog.showModal();
      fields.unit_price.focus();
    };
  }
}
