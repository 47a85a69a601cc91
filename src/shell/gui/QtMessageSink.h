#pragma once

#include "shell/MessageSink.h"

class QWidget;

// Shows each message as a QMessageBox in the language chosen at start-up.
class QtMessageSink : public MessageSink
{
public:
    explicit QtMessageSink(UiLanguage language) : m_language(language) {}
    MessageAnswer Show(const UiMessage& message) override;

private:
    UiLanguage m_language;
};

// Shown before any window or context exists (the second-instance refusal).
void ShowMessageNow(const UiMessage& message, UiLanguage language);
