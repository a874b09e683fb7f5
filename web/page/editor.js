// The learner's routine beside the picture, in CodeMirror 6: every change
// is compiled and, when the language accepts it, drawn at once in place of
// what the routine drew before; a refusal shows its message under the
// text. Numbers can be dragged and stepped (numbers.js). The text is kept
// in the browser's storage as it is typed, and a button copies a link that
// holds it.

import { cpp } from '@codemirror/lang-cpp';
import { defaultKeymap, history, historyKeymap } from '@codemirror/commands';
import { EditorState } from '@codemirror/state';
import { EditorView, keymap, lineNumbers } from '@codemirror/view';
import { numberDrag } from './numbers.js';

const kStorageKey = 'sweepdraw.routine';

// The link that opens the page on `text`: #routine= and the text's UTF-8
// in base64url without padding.
export function linkTo(text) {
    const bytes = new TextEncoder().encode(text);
    let binary = '';
    for (const byte of bytes)
        binary += String.fromCharCode(byte);
    const encoded = btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
    return `${location.origin}${location.pathname}#routine=${encoded}`;
}

export function keptRoutine() {
    try {
        return localStorage.getItem(kStorageKey);
    } catch {
        return null;
    }
}

export class Editor {
    // Shows `text` in `pane`; `onChange(text)` is called with every change
    // and returns the refusal's message, or null when the text is drawn.
    constructor(pane, text, { onChange, copyLinkCaption }) {
        this.pane = pane;
        this.message = pane.appendChild(document.createElement('pre'));
        this.message.id = 'editor-message';
        this.message.hidden = true;
        const copy = pane.appendChild(document.createElement('button'));
        copy.id = 'copy-link';
        copy.type = 'button';
        copy.textContent = copyLinkCaption;
        copy.addEventListener('click', () => navigator.clipboard?.writeText(linkTo(this.text())));
        this.onChange = onChange;
        this.view = new EditorView({
            parent: pane,
            state: EditorState.create({
                doc: text,
                extensions: [
                    lineNumbers(), history(), cpp(), numberDrag, keymap.of([...defaultKeymap, ...historyKeymap]),
                    EditorView.updateListener.of(update => {
                        if (update.docChanged)
                            this.changed();
                    }),
                ],
            }),
        });
    }

    text() {
        return this.view.state.doc.toString();
    }

    // The text as given, kept, and drawn.
    changed() {
        const text = this.text();
        try {
            localStorage.setItem(kStorageKey, text);
        } catch {
            // Storage full or refused: the text stays in the editor.
        }
        this.showMessage(this.onChange(text));
    }

    // A refusal, or a failure as it is drawn, under the text; null for none.
    showMessage(text) {
        this.message.textContent = text ?? '';
        this.message.hidden = !text;
    }

    // The line the caret is on, counted from 1.
    caretLine() {
        return this.view.state.doc.lineAt(this.view.state.selection.main.head).number;
    }
}
