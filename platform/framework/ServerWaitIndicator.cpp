#include "ServerWaitIndicator.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

ServerWaitIndicator::ServerWaitIndicator(QWidget* window, std::function<void()> cancel)
    : QFrame(window) {
    setObjectName(QString::fromLatin1(kObjectName));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("Warte auf den Datenbankserver …"), this);
    layout->addWidget(text);
    if (cancel) {
        auto* button = new QPushButton(QStringLiteral("Abbrechen"), this);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(
            QStringLiteral("Bricht den Befehl ab (Esc). Ihre Eingaben bleiben im "
                           "Formular."));
        connect(button, &QPushButton::clicked, this, [cancel = std::move(cancel)] { cancel(); });
        layout->addWidget(button);
    }
    setAccessibleName(text->text());
    window->installEventFilter(this);
    Place();
    show();
    raise();
}

bool ServerWaitIndicator::Holds(const QObject* object) const {
    for (const QObject* part = object; part != nullptr; part = part->parent()) {
        if (part == this) {
            return true;
        }
    }
    return false;
}

bool ServerWaitIndicator::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        Place();
    }
    return false;
}

void ServerWaitIndicator::Place() {
    adjustSize();
    const QWidget* window = parentWidget();
    const int margin = fontMetrics().height();
    move((window->width() - width()) / 2, std::max(0, window->height() - height() - 2 * margin));
}
