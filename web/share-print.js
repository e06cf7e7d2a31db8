// "Link másolása" copies the scenario's address (the last calculated
// texts, as the address bar holds them); "Nyomtatás / PDF" prints the page,
// the analysis too when it is open (page.css, @media print).
'use strict';

function createSharePrint({ copyButton, printButton, announce, showMessage }) {
  const COPIED = 'Link másolva';
  const NOT_COPIED = 'A link nem került a vágólapra. Másolja ki innen:';
  const label = copyButton.textContent;

  // Where the asynchronous clipboard is missing (a page opened from disk or
  // over plain http) or refused, a selected text area is copied instead.
  function copiedByHand(text) {
    const area = document.createElement('textarea');
    area.value = text;
    area.setAttribute('readonly', '');
    area.className = 'visually-hidden';
    document.body.append(area);
    area.select();
    let copied = false;
    try {
      copied = document.execCommand('copy');
    } catch {
      // copied stays false
    }
    area.remove();
    copyButton.focus();
    return copied;
  }

  copyButton.addEventListener('click', async () => {
    const address = window.location.href;
    let copied = false;
    try {
      await navigator.clipboard.writeText(address);
      copied = true;
    } catch {
      copied = copiedByHand(address);
    }
    if (!copied) {
      await showMessage(`${NOT_COPIED}\n${address}`, null, label);
      return;
    }
    copyButton.textContent = COPIED;
    announce.textContent = `${COPIED}.`;
    setTimeout(() => { copyButton.textContent = label; }, 2000);
  });
  printButton.addEventListener('click', () => window.print());
}
