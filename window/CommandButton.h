#pragma once

#include <QPushButton>

namespace sweepdraw {

// One of the window's six buttons. Return and Enter press it just as Space
// does, as on the desktop the program comes from. At a zoom it looks as it would at zoom 1 on a screen that many
// times as dense: frame, focus frame, shading and lettering all grow
// together, with the lettering in the font the button has at zoom 1.
class CommandButton final : public QPushButton
{
public:
    using QPushButton::QPushButton;

    void setZoom(double zoom);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    double m_zoom = 1.0;
};

} // namespace sweepdraw
