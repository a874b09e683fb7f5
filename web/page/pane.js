// The pane beside the picture, as the desktop's code pane: a line saying
// where the drawing stands, or what drew a point asked about, over the
// routine being drawn, live (codeview.js), and, once asked for (Ctrl+E, or
// a link), the learner's own routine to edit (editor.js).

import { CodeView, passOf } from './codeview.js';
import { Editor, keptRoutine } from './editor.js';
import { qsTranslate } from './translate.js';

function tr(text, ...values) {
    return values.reduce((told, value, i) => told.replace(`%${i + 1}`, value),
        qsTranslate('sweepdraw::CodePane', text));
}

// "%n waiting": the translations the page has, Chinese, have one form.
function waiting(count) {
    return qsTranslate('sweepdraw::CodePane', '%n waiting').replace('%n', count);
}

export class Pane {
    // `edited(text)` draws the learner's routine and returns why it is
    // refused, or null; `copyLinkCaption` is the link button's caption.
    constructor(element, { edited, copyLinkCaption, copyOf }) {
        this.element = element;
        this.progress = element.appendChild(document.createElement('p'));
        this.progress.id = 'progress';
        this.progress.setAttribute('aria-live', 'polite');
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
        this.answer = null;
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

    // The line of the routine shown that the caret is on.
    caretLine() {
        return this.editing.hidden ? this.codeView.caretLine() : this.editor.caretLine();
    }

    // Follows the runner's `state` (EngineRunner.state()): `routine` is the
    // routine under way, {caption, source}, or null; `finished` the caption
    // of the last command finished; `rate` the speed's operations a
    // second. An answer shown stays until the drawing moves on.
    show(state, routine, finished, rate) {
        if (this.answer && this.answer.landed === state.landed)
            return;
        this.answer = null;
        const { current } = state;
        const paused = state.paused ? tr('paused') : '';
        if (!current) {
            const parts = [finished ? tr('Finished %1', finished) : tr('Nothing drawn yet')];
            if (paused)
                parts.push(paused);
            if (state.queued > 0)
                parts.push(waiting(state.queued));
            this.progress.textContent = parts.join(' · ');
            if (this.codeView.source !== null)
                this.codeView.show(this.codeView.source, []);
            return;
        }
        const { operations } = current.command;
        const parts = [routine?.caption ?? current.command.caption];
        if (paused)
            parts.push(paused);
        const pass = passOf(current.loops);
        if (pass)
            parts.push(pass);
        // A routine's total is known once it has been drawn whole.
        parts.push(operations < 0 ? tr('%1 operations so far', current.landed)
                                  : tr('%1 of %2 operations', current.landed, operations));
        if (rate > 0 && operations >= 0)
            parts.push(tr('%1 s left', (Math.max(operations - current.landed, 0) / rate).toFixed(1)));
        parts.push(waiting(state.queued));
        this.progress.textContent = parts.join(' · ');
        if (routine && this.open && !this.code.hidden)
            this.codeView.show(routine.source, current.loops, current.point);
    }

    // What drew the pixel `pixel` ([x, y] at zoom 1): `drawn`, from the
    // runner (EngineRunner.whatDrew()), and its routine {caption, source};
    // the pane shows the routine, the line that drew it lit over its loops,
    // until the drawing moves on from `landed`.
    showAnswer(drawn, routine, pixel, landed) {
        const where = `(${pixel[0]}, ${pixel[1]})`;
        this.answer = { landed };
        this.code.hidden = false;
        this.editing.hidden = true;
        this.setOpen(true);
        if (!drawn) {
            this.progress.textContent = tr('Nothing was drawn at pixel %1', where);
            if (this.codeView.source !== null)
                this.codeView.show(this.codeView.source, []);
            return;
        }
        const { operations } = drawn.command;
        const parts = [tr('Pixel %1 was drawn by %2 line %3', where, drawn.command.caption, drawn.line),
                       routine?.caption ?? drawn.command.caption];
        const pass = passOf(drawn.loops);
        if (pass)
            parts.push(pass);
        parts.push(operations < 0 ? tr('operation %1', drawn.operation)
                                  : tr('operation %1 of %2', drawn.operation, operations));
        this.progress.textContent = parts.join(' · ');
        if (routine)
            this.codeView.show(routine.source, drawn.loops, drawn.point, drawn.line);
    }
}
