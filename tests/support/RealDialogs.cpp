#include "RealDialogs.h"

#include <ModalSeam.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

namespace {

void Close(QWidget* dialog) {
    if (auto* modal = qobject_cast<QDialog*>(dialog)) {
        modal->reject();
    } else {
        dialog->close();
    }
}

QString Describe(const QWidget* dialog) {
    const auto* label = dialog->findChild<QLabel*>();
    return dialog->windowTitle() + QStringLiteral(": ") + (label ? label->text() : QString());
}

}  // namespace

void RealDialogs::Run(const std::function<void()>& command, std::vector<Answer> answers) {
    const bool seamWasOn = ModalSeam::IsEnabled();
    ModalSeam::Enable(false);
    std::size_t next = 0;
    QList<QPointer<QWidget>> answering;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible() || answering.contains(dialog)) {
            return;
        }
        if (next == answers.size()) {
            ADD_FAILURE() << "a dialog no answer expected: " << Describe(dialog).toStdString();
            Close(dialog);
            return;
        }
        answering.append(dialog);
        // Answered from a timer of its own, so that the poll goes on meanwhile and a dialog
        // that the answer opens in turn is answered as well.
        QTimer::singleShot(
            0, &poll, [&, dialog = QPointer<QWidget>(dialog), answer = answers[next++]] {
                if (dialog) {
                    answer(dialog);
                }
                // A button reached by its letter clicks a moment later, as it is drawn pressed.
                if (!QTest::qWaitFor([&] { return !dialog || !dialog->isVisible(); }, 1000)) {
                    ADD_FAILURE() << "the answer left the dialog open: "
                                  << Describe(dialog).toStdString();
                    Close(dialog);
                }
                answering.removeAll(dialog);
            });
    });
    poll.start();
    command();
    poll.stop();
    ModalSeam::Enable(seamWasOn);
    EXPECT_EQ(next, answers.size()) << "fewer dialogs opened than answers were given";
}

bool RealDialogs::Activate(QWidget* dialog) {
    QApplication::setActiveWindow(dialog);
    return QTest::qWaitForWindowActive(dialog);
}

void RealDialogs::Press(QWidget* dialog, int key, bool alt) {
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus && dialog->isAncestorOf(focus) ? focus : dialog;
    QTest::keyClick(target, static_cast<Qt::Key>(key), alt ? Qt::AltModifier : Qt::NoModifier);
}

QPushButton* RealDialogs::DefaultButton(const QWidget* dialog) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->isDefault() && button->isVisible()) {
            return button;
        }
    }
    return nullptr;
}

QList<QChar> RealDialogs::Mnemonics(const QWidget* dialog) {
    QStringList texts;
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->isVisible()) {
            texts << button->text();
        }
    }
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->isVisible() && label->buddy()) {
            texts << label->text();
        }
    }
    QList<QChar> letters;
    for (const QString& text : texts) {
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < text.size() && text[amp + 1] != QLatin1Char('&')) {
            letters << text[amp + 1].toLower();
        }
    }
    return letters;
}

bool RealDialogs::MnemonicsAreUnique(const QWidget* dialog) {
    const QList<QChar> letters = Mnemonics(dialog);
    return QSet<QChar>(letters.begin(), letters.end()).size() == letters.size();
}
