#include "AboutBox.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

namespace sweepdraw {

namespace {

constexpr int kIconSize = 64;

} // namespace

void AboutBox::show(QWidget *parent)
{
    const QString text =
        QStringLiteral("<h3>%1</h3><p>%2</p><p>%3<br>%4</p><p>%5</p>")
            .arg(tr("Sweepdraw %1").arg(QCoreApplication::applicationVersion()).toHtmlEscaped(),
                 tr("Pictures drawn point by point from sine and cosine sweeps: mountains, flowing water, "
                    "sunshine and a bridge.")
                     .toHtmlEscaped(),
                 tr("Free software under the MIT License.").toHtmlEscaped(),
                 tr("Copyright © 2026 The Sweepdraw developers").toHtmlEscaped(),
                 tr("Running on Qt %1.").arg(QString::fromLatin1(qVersion())).toHtmlEscaped());
    auto *box = new QMessageBox(QMessageBox::NoIcon, tr("About Sweepdraw"), text, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("AboutBox"));
    box->setTextFormat(Qt::RichText);
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull())
        box->setIconPixmap(icon.pixmap(kIconSize));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace sweepdraw
