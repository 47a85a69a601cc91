#pragma once

#include "shell/MessageSink.h"

class QWidget;

// Shows each message as a QMessageBox in the language chosen at start-up.
class QtMessageSink : public MessageSink
{
public:
    explicit QtMessageSink(int16_t uiLanguage) : m_language(uiLanguage) {}
    MessageAnswer Show(const UiMessage& message) override;

private:
    int16_t m_language;
};

// Shown before any window or context exists (the second-instance refusal).
void ShowMessageNow(const UiMessage& message, int16_t uiLanguage);
