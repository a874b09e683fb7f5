// The window's menu, which a right click on the page outside the buttons
// opens, and the keys of its items, which work whether it is open or not.
// An item is {text, key, alsoKey, startsSection, checked, run}: `text` and
// `checked` are asked for each time the menu opens.

// The key an event stands for, in the words the menu shows: "Shift+F10".
function keyOf(event) {
    const names = { Escape: 'Esc', ' ': 'Space' };
    const key = names[event.key] ?? (event.key.length === 1 ? event.key.toUpperCase() : event.key);
    return [event.ctrlKey && 'Ctrl', event.shiftKey && 'Shift', event.altKey && 'Alt', key].filter(Boolean).join('+');
}

export class Menu {
    constructor(items) {
        this.items = items;
        this.element = document.body.appendChild(document.createElement('div'));
        this.element.id = 'menu';
        this.element.setAttribute('role', 'menu');
        this.element.hidden = true;
        document.addEventListener('mousedown', event => {
            if (!this.element.contains(event.target))
                this.close();
        });
    }

    // Runs the item whose key `event` is: whether there was one.
    pressed(event) {
        const key = keyOf(event);
        const item = this.items.find(item => item.key === key || item.alsoKey === key);
        if (!item)
            return false;
        event.preventDefault();
        this.close();
        item.run();
        return true;
    }

    openAt(x, y) {
        this.element.replaceChildren();
        for (const item of this.items) {
            if (item.startsSection && this.element.firstChild)
                this.element.appendChild(document.createElement('hr'));
            const entry = this.element.appendChild(document.createElement('button'));
            entry.type = 'button';
            entry.setAttribute('role', item.checked ? 'menuitemradio' : 'menuitem');
            if (item.checked)
                entry.setAttribute('aria-checked', String(item.checked()));
            entry.dataset.item = item.name;
            const text = entry.appendChild(document.createElement('span'));
            text.textContent = item.text();
            const key = entry.appendChild(document.createElement('kbd'));
            key.textContent = item.key ?? '';
            entry.addEventListener('click', () => {
                this.close();
                item.run();
            });
        }
        this.element.hidden = false;
        const box = this.element.getBoundingClientRect();
        this.element.style.left = `${Math.max(0, Math.min(x, window.innerWidth - box.width))}px`;
        this.element.style.top = `${Math.max(0, Math.min(y, window.innerHeight - box.height))}px`;
        this.element.querySelector('button')?.focus();
    }

    close() {
        this.element.hidden = true;
    }
}
