#include "ScriptedLink.h"

#include <algorithm>

int32_t ScriptedLink::RSCom(const QString& cmd)
{
    Sent.push_back(cmd);
    m_state.ReplyText.clear();
    QString reply;
    if (auto it = m_scripts.find(cmd); it != m_scripts.end()) {
        Script& s = it.value();
        if (!s.Replies.isEmpty())
            reply = s.Replies.at(std::min<int>(s.Next++, int(s.Replies.size()) - 1));
    } else if (Otherwise) {
        reply = Otherwise(cmd);
    }
    if (reply.isNull())
        return StatusNoReply;
    m_state.ReplyText = reply + QStringLiteral("\r\n");
    m_state.ReplyTimeout = 500; // a reception lowers the time-out, as on the real line
    return CompleteReplyStatus(m_state.ReplyText);
}
