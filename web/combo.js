// The component list with search, as the window's: type part of a name and a popup offers every
// name that contains it, in any case. Enter or Tab takes a name typed in full (any case) or the
// only name that matches; any other text gives way to the component in use. ARIA combobox.
export class ComponentCombo {
  constructor(input, listbox, onChoose) {
    this.input = input;
    this.listbox = listbox;
    this.onChoose = onChoose;
    this.items = []; // {name, label, ...}
    this.current = null; // the item in use
    this.matches = [];
    this.active = -1;
    input.addEventListener('input', () => this.filter(true));
    input.addEventListener('keydown', (e) => this.key(e));
    input.addEventListener('focus', () => input.select());
    input.addEventListener('blur', () => this.settle());
    listbox.addEventListener('mousedown', (e) => e.preventDefault()); // keep the focus
    listbox.addEventListener('click', (e) => {
      const li = e.target.closest('li');
      if (li) this.choose(this.matches[Number(li.dataset.index)]);
    });
  }

  setItems(items) {
    this.items = items;
  }

  /// Shows an item as chosen without calling back (a set-up, not a user's choice).
  show(item) {
    this.current = item;
    this.input.value = item ? item.name : '';
    this.close();
  }

  filter(open) {
    const needle = this.input.value.toLowerCase();
    this.matches = this.items.filter((it) => it.name.toLowerCase().includes(needle));
    this.active = -1;
    if (open) this.render();
  }

  render() {
    const shown = this.matches.slice(0, 200);
    this.listbox.replaceChildren(...shown.map((it, i) => {
      const li = document.createElement('li');
      li.id = `optComp_${i}`;
      li.role = 'option';
      li.dataset.index = String(i);
      li.textContent = it.label ?? it.name;
      li.setAttribute('aria-selected', String(i === this.active));
      return li;
    }));
    const open = shown.length > 0;
    this.listbox.hidden = !open;
    this.input.setAttribute('aria-expanded', String(open));
    if (this.active >= 0) {
      this.input.setAttribute('aria-activedescendant', `optComp_${this.active}`);
      this.listbox.children[this.active]?.scrollIntoView({ block: 'nearest' });
    } else {
      this.input.removeAttribute('aria-activedescendant');
    }
  }

  close() {
    this.listbox.hidden = true;
    this.input.setAttribute('aria-expanded', 'false');
    this.input.removeAttribute('aria-activedescendant');
  }

  key(e) {
    const open = !this.listbox.hidden;
    if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
      e.preventDefault();
      if (!open) this.filter(false);
      const n = Math.min(this.matches.length, 200);
      if (n === 0) return;
      this.active = e.key === 'ArrowDown' ? (this.active + 1) % n : (this.active - 1 + n) % n;
      this.render();
    } else if (e.key === 'Enter') {
      e.preventDefault();
      if (open && this.active >= 0) this.choose(this.matches[this.active]);
      else this.settle();
    } else if (e.key === 'Escape') {
      if (open) e.preventDefault();
      this.show(this.current);
    }
  }

  /// The typed text taken as a name: typed in full (any case) or the only match; else the
  /// component in use stays.
  settle() {
    const typed = this.input.value.trim().toLowerCase();
    if (this.current && this.input.value === this.current.name) {
      this.close();
      return;
    }
    const exact = this.items.find((it) => it.name.toLowerCase() === typed);
    this.filter(false);
    const only = this.matches.length === 1 ? this.matches[0] : null;
    const item = typed === '' ? null : exact ?? only;
    if (item) this.choose(item);
    else this.show(this.current);
  }

  choose(item) {
    this.show(item);
    this.onChoose(item);
  }
}
