#pragma once

#include "Bilingual.h"

#include <deque>
#include <vector>

enum class MessageButtons { Ok, RetryCancel, OkCancel };
enum class MessageIcon { None, Information, Exclamation };
enum class MessageAnswer { Ok, Retry, Cancel };

// One message box: title and text in both languages, chosen when it is shown.
struct UiMessage {
    Bilingual Title;
    Bilingual Text;
    MessageButtons Buttons = MessageButtons::Ok;
    MessageIcon Icon = MessageIcon::None;
};

// Every message the program shows goes through here. Logic never opens a dialog itself:
// the windows hand it the box that shows a QMessageBox, tests hand it a RecordingMessages.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual MessageAnswer Show(const UiMessage& message) = 0;
};

// Records what would have been shown and answers from a script (Ok, or Cancel for a box
// that offers it, when the script has run out).
class RecordingMessages : public MessageSink
{
public:
    MessageAnswer Show(const UiMessage& message) override
    {
        Shown.push_back(message);
        if (!Answers.empty()) {
            const MessageAnswer a = Answers.front();
            Answers.pop_front();
            return a;
        }
        return message.Buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }

    std::vector<UiMessage> Shown;
    std::deque<MessageAnswer> Answers;
};
