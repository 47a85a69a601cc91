#pragma once

// A small stand-in for the logger's command handling, plugged into ScriptedLink::Otherwise
// for the measurement window's tests. It keeps the channel selection and the parameter
// address, so that per-channel queries answer for the channel selected.

#include <QString>
#include <map>
#include <set>

struct FakeLogger {
    std::set<int> Present{1, 2};
    std::map<int, std::map<QString, QString>> PerChannel; // channel -> "RNG?" -> reply
    std::map<QString, QString> Wide;                      // "CLK?", "VS", "MDT", ...
    std::map<int, QString> Words;                         // parameter address -> word

    QString operator()(const QString& cmd)
    {
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
        return it != Wide.end() ? it->second : QString("OK");
    }

private:
    std::set<int> m_selected;
    int m_address = 0;
};
