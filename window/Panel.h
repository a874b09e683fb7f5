#pragma once

#include <QWidget>

namespace sweepdraw {

// The decorative panel under the pictures: black, with a one-pixel blue
// border. It takes no input.
class Panel final : public QWidget
{
public:
    explicit Panel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace sweepdraw
