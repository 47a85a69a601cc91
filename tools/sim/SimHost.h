#pragma once

#include "OutputQueue.h"
#include "Pty.h"
#include "SimConfig.h"
#include "Simulator.h"

#include <cstdio>
#include <string>

namespace vxsim
{

// The simulator on a real line: the pty, the link to it, pacing, the control channel
// (standard input and an optional FIFO), the transcript, and signals. One thread, one
// poll loop; every wait is on descriptors or the next byte's time, never a busy loop.
class SimHost
{
public:
    // linkPath: where the port link goes (empty: none).
    SimHost(const SimConfig& config, std::string linkPath);
    ~SimHost();

    // Serves until standard input closes, "quit", a signal or a hang-up. The exit code.
    int Run();

private:
    bool Start();
    void Note(const std::string& text);
    void Log(const std::string& line);
    void WriteNotes();
    void ReadLine(int fd, std::string& buffer, bool& closed);
    void HandleControl(const std::string& line);
    void ReadCommands();
    void HandleCommand(const std::string& command);
    void WriteDue();
    void HangUpOnceRead();
    void HangUp();
    Micros Now() const;

    SimConfig m_config;
    std::string m_linkPath;
    Simulator m_simulator;
    OutputQueue m_output;
    Pty m_pty;
    PortLink m_link;
    FILE* m_transcript = nullptr;
    int m_fifo = -1;
    std::string m_commandBuffer;
    std::string m_stdinBuffer;
    std::string m_fifoBuffer;
    bool m_stdinOpen = true;
    bool m_writeBlocked = false;
    bool m_done = false;
    std::optional<Micros> m_hangUpBy; // a hang-up waits for the client to read the last reply
    Micros m_hangUpStarted = 0;
    bool m_hangUpSawUnread = false;
    std::string m_endReason;
    long long m_startNs = 0;
};

} // namespace vxsim
