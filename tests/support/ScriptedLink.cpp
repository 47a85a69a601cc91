#include "ScriptedLink.h"

#include <algorithm>

void ScriptedLink::On(const QString& cmd, const QString& reply)
{
    m_scripts[cmd] = Script{{reply}, 0, false};
}

void ScriptedLink::OnSequence(const QString& cmd, const QStringList& replies)
{
    m_scripts[cmd] = Script{replies, 0, false};
}

void ScriptedLink::Silent(const QString& cmd)
{
    m_scripts[cmd] = Script{{}, 0, true};
}

void ScriptedLink::Connect(bool open)
{
    ++ConnectCalls;
    m_state.PortOpened = open;
}

void ScriptedLink::PortOutput(const QString& cmd)
{
    Sent.push_back(cmd);
}

int32_t ScriptedLink::RSCom(const QString& cmd)
{
    Sent.push_back(cmd);
    m_state.ReplyText.clear();
    QString reply;
    bool answered = false;
    auto it = m_scripts.find(cmd);
    if (it != m_scripts.end()) {
        Script& s = it.value();
        if (!s.Silent && !s.Replies.isEmpty()) {
            reply = s.Replies.at(std::min<int>(s.Next, int(s.Replies.size()) - 1));
            ++s.Next;
            answered = true;
        }
    } else if (Otherwise) {
        reply = Otherwise(cmd);
        answered = !reply.isNull();
    }
    if (!answered)
        return StatusNoReply;
    m_state.ReplyText = reply + QStringLiteral("\r\n");
    m_state.ReplyTimeout = 500; // a reception lowers the time-out, as on the real line
    return CompleteReplyStatus(m_state.ReplyText);
}

void ScriptedLink::Wait(int32_t)
{
    ++WaitCalls;
}

int16_t ScriptedLink::ReceiveBinary(int32_t count)
{
    const int n = std::min<int>({count, int(BinaryBlock.size()), int(m_state.BinaryBuffer.size())});
    for (int i = 0; i < n; ++i)
        m_state.BinaryBuffer[i] = static_cast<uint8_t>(BinaryBlock[i]);
    m_state.BinaryPos = 0;
    return n >= count ? 0 : -1;
}
