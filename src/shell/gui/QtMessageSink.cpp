#include "QtMessageSink.h"

#include <QApplication>
#include <QMessageBox>

namespace
{
QMessageBox::Icon IconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

MessageAnswer QtMessageSink::Show(const UiMessage& message)
{
    QMessageBox box(IconOf(message.Icon), message.Title.Pick(m_language),
                    message.Text.Pick(m_language), QMessageBox::NoButton,
                    QApplication::activeWindow());
    if (message.Buttons == MessageButtons::RetryCancel) {
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Retry);
        return box.exec() == QMessageBox::Retry ? MessageAnswer::Retry : MessageAnswer::Cancel;
    }
    if (message.Buttons == MessageButtons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

void ShowMessageNow(const UiMessage& message, UiLanguage language)
{
    QtMessageSink(language).Show(message);
}
