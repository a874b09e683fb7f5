// The window's client area as the desktop's stage lays it out: the green
// ground, the panel, the picture, the three labels and the six buttons,
// each where the stage puts it at zoom 1 (the facts are read from the
// desktop's sources when the page is built), and all of it zoomed together
// to fill the page, each edge rounded as the stage rounds it.

import facts from 'sweepdraw-facts';

// Where a rectangle laid out at zoom 1 goes at `zoom`, its edges rounded so
// that neighbours stay neighbours.
function zoomed(rect, zoom) {
    const at = v => Math.round(v * zoom);
    const left = at(rect.left), top = at(rect.top);
    return { left, top, width: at(rect.left + rect.width) - left, height: at(rect.top + rect.height) - top };
}

function place(element, rect) {
    element.style.left = `${rect.left}px`;
    element.style.top = `${rect.top}px`;
    element.style.width = `${rect.width}px`;
    element.style.height = `${rect.height}px`;
}

export class Stage {
    // Builds the stage inside `root`; `onCommand(command)` is called with
    // the command of a button pressed.
    constructor(root, onCommand) {
        this.root = root;
        this.zoom = 1;
        root.style.background = facts.colours.Background;
        this.panel = root.appendChild(document.createElement('div'));
        this.panel.id = 'Shape1';
        this.panel.style.background = facts.colours.Panel;
        this.panel.style.borderColor = facts.colours.PanelBorder;
        this.canvas = root.appendChild(document.createElement('canvas'));
        this.canvas.id = 'picture';
        this.labels = facts.labels.map(layout => {
            const label = root.appendChild(document.createElement('div'));
            label.id = layout.name;
            label.className = 'label';
            label.textContent = layout.text;
            label.style.color = layout.colour;
            label.style.background = facts.colours.Panel;
            return { label, layout };
        });
        // Made in tab order, which is also their stacking order from the
        // lowest up, as the stage makes them.
        this.buttons = [...facts.commands].sort((a, b) => a.tabIndex - b.tabIndex).map(command => {
            const button = root.appendChild(document.createElement('button'));
            button.id = command.objectName;
            button.type = 'button';
            button.textContent = command.caption;
            button.addEventListener('click', () => onCommand(command));
            // Return and Enter press a button as Space does, as on the desktop.
            button.addEventListener('keydown', event => {
                if (event.key === 'Enter') {
                    event.preventDefault();
                    button.click();
                }
            });
            return { button, command };
        });
    }

    focusFirst() {
        this.buttons[0].button.focus();
    }

    setToolTip(command, text) {
        this.buttons.find(b => b.command === command).button.title = text;
    }

    // Lays everything out at the zoom that fits `width` x `height` CSS
    // pixels, centred; returns the picture's rectangle.
    layOut(width, height) {
        const design = facts.design;
        const zoom = Math.min(width / design.width, height / design.height);
        const whole = zoomed({ left: 0, top: 0, width: design.width, height: design.height }, zoom);
        this.root.style.width = `${whole.width}px`;
        this.root.style.height = `${whole.height}px`;
        this.root.style.left = `${Math.floor((width - whole.width) / 2)}px`;
        this.root.style.top = `${Math.floor((height - whole.height) / 2)}px`;
        place(this.panel, zoomed(facts.panel, zoom));
        this.panel.style.borderWidth = `${Math.max(1, Math.round(zoom))}px`;
        place(this.canvas, whole);
        for (const { label, layout } of this.labels) {
            place(label, zoomed(layout, zoom));
            label.style.fontSize = `${Math.max(1, Math.round(layout.pixelSize * zoom))}px`;
        }
        for (const { button, command } of this.buttons) {
            place(button, zoomed(command, zoom));
            button.style.fontSize = `${12 * zoom}px`;
        }
        this.zoom = zoom;
        return whole;
    }
}
