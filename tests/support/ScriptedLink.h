#pragma once

#include "serial/SerialLink.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// A stand-in for the serial line in unit tests of protocol logic: answers each command
// from a script and records what was sent. Replies are given without their line end.
class ScriptedLink : public SerialLink
{
public:
    // Every later "cmd" gets `reply` + CR LF.
    void On(const QString& cmd, const QString& reply) { m_scripts[cmd] = {{reply}}; }
    // Successive "cmd"s get the replies in turn; the last one repeats.
    void OnSequence(const QString& cmd, const QStringList& replies) { m_scripts[cmd] = {replies}; }
    // "cmd" gets no reply (status -2).
    void Silent(const QString& cmd) { m_scripts[cmd] = {}; }
    // Fallback for commands without a script entry; without it they get no reply.
    std::function<QString(const QString&)> Otherwise;

    void Connect(bool open) override { m_state.PortOpened = open; }
    void PortOutput(const QString& cmd) override { Sent.push_back(cmd); }
    int32_t RSCom(const QString& cmd) override;
    void Wait(int32_t) override {}
    int16_t ReceiveBinary(int32_t) override { return -1; }

    std::vector<QString> Sent; // every command, in order

private:
    struct Script {
        QStringList Replies;
        int Next = 0;
    };
    QMap<QString, Script> m_scripts;
};
