// Save picture: the stage at zoom 1 as a PNG, as --save writes it: the
// green ground, the panel, the picture over them, the labels and the
// buttons. Outside the labels and the buttons, whose lettering is the
// browser's, it is --save's picture pixel for pixel.

import facts from 'sweepdraw-facts';

function canvasOf(width, height) {
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    return canvas;
}

// The stage drawn over `picture` (a picture at ratio 1), as a PNG blob.
export async function stageImage(picture, stage) {
    const { width, height } = facts.design;
    const canvas = canvasOf(width, height);
    const context = canvas.getContext('2d');
    context.fillStyle = facts.colours.Background;
    context.fillRect(0, 0, width, height);
    const panel = facts.panel;
    context.fillStyle = facts.colours.PanelBorder;
    context.fillRect(panel.left, panel.top, panel.width, panel.height);
    context.fillStyle = facts.colours.Panel;
    context.fillRect(panel.left + 1, panel.top + 1, panel.width - 2, panel.height - 2);

    // Drawn over the ground as the window shows it, where putImageData would
    // replace it with the picture's transparency.
    const layer = canvasOf(picture.width, picture.height);
    layer.getContext('2d').putImageData(picture.imageData(0, 0, picture.width, picture.height), 0, 0);
    context.drawImage(layer, 0, 0);

    for (const { label, layout } of stage.labels) {
        context.fillStyle = facts.colours.Panel;
        context.fillRect(layout.left, layout.top, layout.width, layout.height);
        const font = `bold ${layout.pixelSize}px ${getComputedStyle(label).fontFamily}`;
        await document.fonts.load(font, layout.text);
        // Clipped to the label, as the window clips it.
        context.save();
        context.beginPath();
        context.rect(layout.left, layout.top, layout.width, layout.height);
        context.clip();
        context.font = font;
        context.textBaseline = 'top';
        context.fillStyle = layout.colour;
        context.fillText(layout.text, layout.left, layout.top);
        context.restore();
    }
    for (const { button, command } of stage.buttons) {
        const style = getComputedStyle(button);
        context.fillStyle = '#f4f4f4';
        context.fillRect(command.left, command.top, command.width, command.height);
        context.strokeStyle = style.borderTopColor;
        context.strokeRect(command.left + 0.5, command.top + 0.5, command.width - 1, command.height - 1);
        context.fillStyle = '#000';
        context.font = `12px ${style.fontFamily}`;
        context.textAlign = 'center';
        context.textBaseline = 'middle';
        context.fillText(command.caption, command.left + command.width / 2, command.top + command.height / 2);
        context.textAlign = 'start';
    }
    return new Promise(done => canvas.toBlob(done, 'image/png'));
}

// Offers `blob` to the browser as a file to save.
export function offerFile(blob, name) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 0);
}
