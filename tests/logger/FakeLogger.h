#pragma once

// A small stand-in for the logger's command handling in unit tests of the settings read and
// the monitor, plugged into ScriptedLink::Otherwise. It keeps the channel selection and the
// parameter address, so that per-channel queries answer for the channel selected.

#include <QString>
#include <map>
#include <set>

struct FakeLogger {
    std::set<int> Present{1, 2};
    std::map<int, std::map<QString, QString>> PerChannel; // channel -> "RNG?" -> reply
    std::map<QString, QString> Wide;                      // "CLK?", "VS", "MDT", ...
    std::map<int, QString> Words;                         // parameter address -> word
    // The n-th (1-based) time a command arrives it gets this reply instead; a null
    // QString means no reply at all.
    std::map<QString, std::map<int, QString>> Nth;

    QString operator()(const QString& cmd)
    {
        const int n = ++m_count[cmd];
        const auto special = Nth.find(cmd);
        if (special != Nth.end()) {
            const auto it = special->second.find(n);
            if (it != special->second.end())
                return it->second;
        }
        if (cmd == "RES") {
            m_selected.clear();
            return "OK";
        }
        if (cmd.startsWith("SET")) {
            const int ch = cmd.mid(3).toInt();
            if (!Present.count(ch))
                return "ERR-001";
            m_selected.insert(ch);
            return "OK";
        }
        if (cmd.startsWith("EPA")) {
            m_address = cmd.mid(3).toInt();
            return "OK";
        }
        if (cmd == "EPD?") {
            const auto it = Words.find(m_address);
            return it == Words.end() ? QString("0") : it->second;
        }
        if (cmd.startsWith("MNO") && cmd != "MNO?") {
            for (int ch : m_selected)
                PerChannel[ch]["MNO?"] = cmd.mid(3);
            return "OK";
        }
        if (m_selected.size() == 1) {
            const auto& values = PerChannel[*m_selected.begin()];
            const auto it = values.find(cmd);
            if (it != values.end())
                return it->second;
        }
        const auto it = Wide.find(cmd);
        if (it != Wide.end())
            return it->second;
        return "OK";
    }

    int Count(const QString& cmd) const
    {
        const auto it = m_count.find(cmd);
        return it == m_count.end() ? 0 : it->second;
    }

private:
    std::set<int> m_selected;
    int m_address = 0;
    std::map<QString, int> m_count;
};
