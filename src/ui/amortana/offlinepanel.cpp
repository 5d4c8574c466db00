// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/amortana/offlinepanel.h"

#include "ui/amortana/urlopener.h"

#include <QLabel>
#include <QUrl>

namespace {

// The same details as the browser engine's own offline page, without the promise that
// the page comes back by itself: here it opens only in the browser.
QString panelText(const QUrl &page)
{
    return QStringLiteral("<a href=\"%1\" style=\"color:#333;text-decoration:none\">"
                          "<b style=\"font-size:16px;color:#000\">Zelvor Yazılım</b>"
                          "<p>www.zelvor.com.tr<br>bilgi@zelvor.com.tr<br>"
                          "Tel: 0 (212) 555 01 23</p>"
                          "<p style=\"color:#777\">Sayfayı tarayıcıda açmak için tıklayın.</p></a>")
        .arg(page.toString(QUrl::FullyEncoded).toHtmlEscaped());
}

} // namespace

QWidget *OfflinePanelFactory::createView(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    label->setStyleSheet(QStringLiteral("background:#fff"));
    label->setTextFormat(Qt::RichText);
    label->setText(panelText(QUrl()));
    QObject::connect(label, &QLabel::linkActivated, label, [label](const QString &link) {
        const QUrl page(link);
        if (page.isValid() && !page.isEmpty())
            urlopener::open(page, label);
    });
    return label;
}

void OfflinePanelFactory::load(QWidget *view, const QUrl &url)
{
    if (auto *label = qobject_cast<QLabel *>(view))
        label->setText(panelText(url));
}
