// The pane beside the picture, as the desktop's code pane: the routine
// being drawn, live (codeview.js), and, once asked for (Ctrl+E, or a
// link), the learner's own routine to edit (editor.js).

import { CodeView } from './codeview.js';
import { Editor, keptRoutine } from './editor.js';

export class Pane {
    // `edited(text)` draws the learner's routine and returns what stopped
    // it, or null; `copyLinkCaption` is the link button's caption.
    constructor(element, { edited, copyLinkCaption, copyOf }) {
        this.element = element;
        this.code = element.appendChild(document.createElement('div'));
        this.code.id = 'code';
        this.codeView = new CodeView(this.code);
        this.editing = element.appendChild(document.createElement('div'));
        this.editing.id = 'editing';
        this.editing.hidden = true;
        this.editor = null;
        this.edited = edited;
        this.copyLinkCaption = copyLinkCaption;
        this.copyOf = copyOf;
    }

    get open() {
        return !this.element.hidden;
    }

    setOpen(open) {
        this.element.hidden = !open;
    }

    // Edits `text`, or the routine kept in the browser, or a copy of the
    // routine shown.
    edit(text) {
        this.editor ??= new Editor(this.editing, text ?? keptRoutine() ?? this.copyOf(this.codeView.source), {
            copyLinkCaption: this.copyLinkCaption,
            onChange: this.edited,
        });
        this.code.hidden = true;
        this.editing.hidden = false;
        this.setOpen(true);
    }

    // Shows the routine `source` drawing, at `loops`.
    show(source, loops) {
        if (this.open && !this.code.hidden)
            this.codeView.show(source, loops);
    }
}
