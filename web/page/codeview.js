// The routine being drawn, read-only, with the lines of the loops running
// lit and each loop's counter and value at the end of its line, the colour
// of a colour pass beside it, as the desktop's code pane shows them.

import { cpp } from '@codemirror/lang-cpp';
import { EditorState, RangeSetBuilder, StateEffect, StateField } from '@codemirror/state';
import { Decoration, EditorView, WidgetType, lineNumbers } from '@codemirror/view';
import facts from 'sweepdraw-facts';
import { qsTranslate } from './translate.js';

class Value extends WidgetType {
    constructor(text, swatch) {
        super();
        this.text = text;
        this.swatch = swatch;
    }

    eq(other) {
        return other.text === this.text && other.swatch === this.swatch;
    }

    toDOM() {
        const value = document.createElement('span');
        value.className = 'cm-loop-value';
        if (this.swatch) {
            const swatch = value.appendChild(document.createElement('span'));
            swatch.className = 'cm-swatch';
            swatch.style.background = this.swatch;
        }
        value.appendChild(document.createTextNode(this.text));
        return value;
    }
}

const setMarks = StateEffect.define();
const marks = StateField.define({
    create: () => Decoration.none,
    update: (value, transaction) =>
        transaction.effects.reduce((v, effect) => (effect.is(setMarks) ? effect.value : v), value.map(transaction.changes)),
    provide: field => EditorView.decorations.from(field),
});

function number(value) {
    return Number.isInteger(value) ? String(value) : String(Number(value.toPrecision(6)));
}

// The name of the counter a loop's call on `text` hands its body.
function counterOn(text) {
    return text.match(/\[&\]\s*\(\s*(?:int|double|float)\s+(\w+)\s*\)/)?.[1] ?? '';
}

export class CodeView {
    constructor(parent) {
        this.source = null;
        this.view = new EditorView({
            parent,
            state: EditorState.create({
                extensions: [lineNumbers(), cpp(), EditorState.readOnly.of(true), EditorView.editable.of(false), marks],
            }),
        });
    }

    // Shows `source` with `loops` ({line, value, pass, passes}, outermost
    // first) lit.
    show(source, loops) {
        if (source !== this.source) {
            this.view.dispatch({ changes: { from: 0, to: this.view.state.doc.length, insert: source } });
            this.source = source;
        }
        const doc = this.view.state.doc;
        const builder = new RangeSetBuilder();
        const lines = [...new Set(loops.map(loop => loop.line))].filter(n => n >= 1 && n <= doc.lines).sort((a, b) => a - b);
        for (const number_ of lines) {
            const line = doc.line(number_);
            const here = loops.filter(loop => loop.line === number_);
            const text = here.map(loop => {
                const told = `${counterOn(line.text)} = ${number(loop.value)}`;
                return loop.passes > 0
                    ? `${told} · ${qsTranslate('sweepdraw::CodePane', 'pass %1 of %2').replace('%1', loop.pass).replace('%2', loop.passes)}`
                    : told;
            }).join(' · ');
            const pass = here.find(loop => loop.passes > 0);
            const swatch = pass && facts.palette[pass.value];
            builder.add(line.from, line.from, Decoration.line({ class: 'cm-lit' }));
            builder.add(line.to, line.to, Decoration.widget({ widget: new Value(text, swatch), side: 1 }));
        }
        this.view.dispatch({ effects: setMarks.of(builder.finish()) });
    }

    // The values shown, line by line, as text: what the tests read.
    values() {
        return [...this.view.dom.querySelectorAll('.cm-loop-value')].map(v => v.textContent);
    }
}
