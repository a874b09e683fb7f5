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

// A colour pass's pass, in the code pane's words, or ''.
export function passOf(loops) {
    const pass = loops.find(loop => loop.passes > 0);
    return pass ? qsTranslate('sweepdraw::CodePane', 'pass %1 of %2').replace('%1', pass.pass).replace('%2', pass.passes) : '';
}

export class CodeView {
    constructor(parent) {
        this.source = null;
        this.view = new EditorView({
            parent,
            state: EditorState.create({
                extensions: [lineNumbers(), cpp(), EditorState.readOnly.of(true), marks],
            }),
        });
    }

    // Shows `source` with `loops` ({line, value, pass, passes, counter},
    // outermost first) lit and their values at the end of their lines, and
    // the `point` plotted ({x, y, line} in twips, or null) beside the line
    // that plots it; `answer`, a line that drew a point asked about, lit
    // apart.
    show(source, loops, point = null, answer = 0) {
        if (source !== this.source) {
            this.view.dispatch({ changes: { from: 0, to: this.view.state.doc.length, insert: source } });
            this.source = source;
        }
        const doc = this.view.state.doc;
        const values = new Map();
        const add = (line, text, swatch) => {
            if (line >= 1 && line <= doc.lines)
                values.set(line, [...(values.get(line) ?? []), { text, swatch }]);
        };
        for (const loop of loops) {
            const told = `${loop.counter} = ${number(loop.value)}`;
            add(loop.line, loop.passes > 0 ? `${told} · ${passOf([loop])}` : told,
                loop.passes > 0 ? facts.palette[loop.value] : undefined);
        }
        if (point)
            add(point.line, `(${point.x.toFixed(0)}, ${point.y.toFixed(0)})`);
        const lit = new Set(loops.map(loop => loop.line));
        const builder = new RangeSetBuilder();
        for (let number_ = 1; number_ <= doc.lines; ++number_) {
            const here = values.get(number_);
            if (!lit.has(number_) && number_ !== answer && !here)
                continue;
            const line = doc.line(number_);
            if (number_ === answer)
                builder.add(line.from, line.from, Decoration.line({ class: 'cm-answer' }));
            else if (lit.has(number_))
                builder.add(line.from, line.from, Decoration.line({ class: 'cm-lit' }));
            if (here) {
                const swatch = here.find(value => value.swatch)?.swatch;
                builder.add(line.to, line.to, Decoration.widget({
                    widget: new Value(here.map(value => value.text).join(' · '), swatch), side: 1 }));
            }
        }
        this.view.dispatch({ effects: setMarks.of(builder.finish()) });
        if (answer >= 1 && answer <= doc.lines)
            this.view.dispatch({ effects: EditorView.scrollIntoView(doc.line(answer).from, { y: 'center' }) });
    }

    // The line the caret is on, counted from 1.
    caretLine() {
        return this.view.state.doc.lineAt(this.view.state.selection.main.head).number;
    }

    // The values shown, line by line, as text: what the tests read.
    values() {
        return [...this.view.dom.querySelectorAll('.cm-loop-value')].map(v => v.textContent);
    }
}
