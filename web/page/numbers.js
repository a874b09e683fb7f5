// Numbers changed by hand in the learner's routine, by the rules of the
// desktop's code pane (codepane/NumberDrag): a number pressed and dragged
// sideways changes by a unit of its last digit every kPixelsPerUnit pixels
// (read from there), by ten with Shift; with the caret on a number,
// Alt+Up and Alt+Down change it by one unit, by ten with Shift. The steps
// of a drag follow each other as one kind of edit, which the editor's
// history joins into one step for undo.

import { EditorView, keymap } from '@codemirror/view';
import facts from 'sweepdraw-facts';

const kMostDigits = 17;
const isNumberChar = c => /[0-9.]/.test(c);
const isNameChar = c => /[\p{L}\p{N}_]/u.test(c);

// The decimal literal `position` is in or just after in `line`, as
// {start, length}, or null: digits in a name, a literal with an exponent,
// a suffix or a base, and one with a leading zero are not numbers to change.
export function numberAt(line, position) {
    if (position < 0 || position > line.length)
        return null;
    let start = position;
    while (start > 0 && isNumberChar(line[start - 1]))
        --start;
    let end = position;
    while (end < line.length && isNumberChar(line[end]))
        ++end;
    const literal = line.slice(start, end);
    const digits = literal.replace(/\./g, '').length;
    if (digits === 0 || digits > kMostDigits || literal.split('.').length > 2)
        return null;
    if ((start > 0 && isNameChar(line[start - 1])) || (end < line.length && isNameChar(line[end])))
        return null;
    if (literal.length > 1 && literal[0] === '0' && /[0-9]/.test(literal[1]) && !literal.includes('.'))
        return null;
    return { start, length: end - start };
}

// `literal` changed by `units` of its last digit, written the same way,
// never below zero.
export function steppedNumber(literal, units) {
    const dot = literal.indexOf('.');
    const whole = dot < 0 ? literal : literal.slice(0, dot);
    const decimals = dot < 0 ? '' : literal.slice(dot + 1);
    const value = BigInt(whole + decimals || '0');
    let digits = String(value + BigInt(units) < 0n ? 0n : value + BigInt(units));
    if (digits.length <= decimals.length)
        digits = '0'.repeat(decimals.length + 1 - digits.length) + digits;
    if (dot < 0)
        return digits;
    let wholePart = digits.slice(0, digits.length - decimals.length);
    if (whole === '' && wholePart === '0')
        wholePart = '';
    return `${wholePart}.${digits.slice(digits.length - decimals.length)}`;
}

// Changes the number at `position` by `units`: whether there was one.
function step(view, position, units, userEvent = 'input.number') {
    const line = view.state.doc.lineAt(position);
    const span = numberAt(line.text, position - line.from);
    if (!span)
        return false;
    const from = line.from + span.start;
    const literal = line.text.slice(span.start, span.start + span.length);
    const changed = steppedNumber(literal, units);
    if (changed !== literal)
        view.dispatch({
            changes: { from, to: from + literal.length, insert: changed },
            selection: { anchor: Math.min(position, from + changed.length) },
            userEvent,
        });
    return true;
}

const byKey = units => view => step(view, view.state.selection.main.head, units);

export const numberDrag = [
    keymap.of([
        { key: 'Alt-ArrowUp', run: byKey(1), shift: byKey(10) },
        { key: 'Alt-ArrowDown', run: byKey(-1), shift: byKey(-10) },
    ]),
    EditorView.domEventHandlers({
        mousedown(event, view) {
            const position = view.posAtCoords({ x: event.clientX, y: event.clientY });
            if (event.button !== 0 || position === null || !step(view, position, 0))
                return false;
            let lastX = event.clientX;
            let moved = 0;
            const move = e => {
                moved += (e.clientX - lastX) / facts.pixelsPerUnit;
                lastX = e.clientX;
                const units = Math.trunc(moved);
                if (units !== 0) {
                    moved -= units;
                    step(view, view.state.selection.main.head, units * (e.shiftKey ? 10 : 1), 'input.number.drag');
                }
            };
            const up = () => {
                window.removeEventListener('mousemove', move);
                window.removeEventListener('mouseup', up);
            };
            window.addEventListener('mousemove', move);
            window.addEventListener('mouseup', up);
            view.dispatch({ selection: { anchor: position } });
            event.preventDefault();
            return true;
        },
    }),
];
