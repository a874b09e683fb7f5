#pragma once

#include <QWidget>

namespace sweepdraw {

// The decorative panel under the pictures: black, with a blue border one
// pixel wide at zoom 1. It takes no input, and screen readers do not see it.
class Panel final : public QWidget
{
public:
    explicit Panel(QWidget *parent = nullptr);

    void setBorder(int pixels);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_border = 1;
};

} // namespace sweepdraw
