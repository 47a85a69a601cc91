#include "SimHost.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vxsim
{

namespace
{

// Longest command kept while waiting for its line end; anything longer is noise.
constexpr size_t MaxCommandBytes = 256;
// How long a hang-up waits for the client to read what was sent before it, and how often
// it looks.
constexpr Micros HangUpGraceUs = 2000000;
constexpr Micros HangUpLookUs = 2000;
// Written bytes reach the slave's queue a moment after the write; a client that read them
// before we looked leaves nothing to see, so after this long an empty queue counts as read.
constexpr Micros HangUpSettleUs = 50000;

int g_signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

long long SteadyNanoseconds()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

void SetNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

void PrintLine(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

SimHost::SimHost(const SimConfig& config, std::string linkPath)
    : m_config(config), m_linkPath(std::move(linkPath)), m_simulator(config),
      m_output(config.Pace ? config.Baud : 0), m_stdinOpen(config.ReadStdin),
      m_startNs(SteadyNanoseconds())
{
}

SimHost::~SimHost()
{
    if (m_transcript)
        std::fclose(m_transcript);
    if (m_fifo >= 0)
        ::close(m_fifo);
}

Micros SimHost::Now() const
{
    return (SteadyNanoseconds() - m_startNs) / 1000;
}

void SimHost::Log(const std::string& line)
{
    if (!m_transcript)
        return;
    // Flushed line by line: tests read the transcript while the simulator runs.
    std::fputs(line.c_str(), m_transcript);
    std::fputc('\n', m_transcript);
    std::fflush(m_transcript);
}

void SimHost::Note(const std::string& text)
{
    Log(TranscriptLine('!', text));
}

void SimHost::WriteNotes()
{
    for (const std::string& note : m_simulator.TakeNotes())
        Note(note);
}

bool SimHost::Start()
{
    // The replay is read before anything else, so that a file refused leaves nothing behind.
    std::optional<ReplayScript> replay;
    if (!m_config.ReplayPath.empty()) {
        LoadedReplay loaded = LoadReplay(m_config.ReplayPath);
        if (!loaded.Script) {
            std::fprintf(stderr, "vx-logger-sim: %s\n", loaded.Error.c_str());
            return false;
        }
        replay = std::move(loaded.Script);
    }
    if (!m_config.TranscriptPath.empty()) {
        m_transcript = std::fopen(m_config.TranscriptPath.c_str(), "a");
        if (!m_transcript) {
            std::fprintf(stderr, "vx-logger-sim: cannot write %s: %s\n",
                         m_config.TranscriptPath.c_str(), std::strerror(errno));
            return false;
        }
    }
    if (replay) {
        Note("replay of " + std::to_string(replay->Exchanges()) + " exchanges from " +
             m_config.ReplayPath);
        m_simulator.SetReplay(std::move(*replay));
    }
    for (const std::string& fault : m_config.Faults) {
        const Simulator::ControlResult result = m_simulator.Control("fault " + fault, 0);
        if (!result.Ok) {
            std::fprintf(stderr, "vx-logger-sim: --fault %s: %s\n", fault.c_str(),
                         result.Error.c_str());
            return false;
        }
    }
    if (const std::string why = m_pty.Open(); !why.empty()) {
        std::fprintf(stderr, "vx-logger-sim: %s\n", why.c_str());
        return false;
    }
    if (!m_linkPath.empty()) {
        if (const std::string why = m_link.Make(m_linkPath, m_pty.SlavePath()); !why.empty()) {
            std::fprintf(stderr, "vx-logger-sim: %s\n", why.c_str());
            return false;
        }
    }
    if (!m_config.ControlFifo.empty()) {
        const char* path = m_config.ControlFifo.c_str();
        struct stat st {
        };
        if (::stat(path, &st) != 0 && ::mkfifo(path, 0600) != 0) {
            std::fprintf(stderr, "vx-logger-sim: mkfifo %s: %s\n", path, std::strerror(errno));
            return false;
        }
        // Read and write, so that writers coming and going never look like an end of file.
        m_fifo = ::open(path, O_RDWR | O_NONBLOCK);
        if (m_fifo < 0) {
            std::fprintf(stderr, "vx-logger-sim: open %s: %s\n", path, std::strerror(errno));
            return false;
        }
    }
    if (::pipe(g_signalPipe) != 0)
        return false;
    SetNonBlocking(g_signalPipe[0]);
    SetNonBlocking(g_signalPipe[1]);
    struct sigaction action {
    };
    action.sa_handler = OnSignal;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    Note("start: " + m_pty.SlavePath() + (m_linkPath.empty() ? "" : " linked at " + m_linkPath));
    WriteNotes();
    PrintLine("PTY " + m_pty.SlavePath());
    return true;
}

void SimHost::ReadLine(int fd, std::string& buffer, bool& closed)
{
    // One read per readiness: standard input stays blocking (it may be the terminal of
    // the shell that started us), and poll() said there is something to read.
    char chunk[1024];
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n > 0)
        buffer.append(chunk, static_cast<size_t>(n));
    else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
        closed = true;
    for (size_t eol = buffer.find('\n'); eol != std::string::npos && !m_done;
         eol = buffer.find('\n')) {
        std::string line = buffer.substr(0, eol);
        buffer.erase(0, eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos)
            continue;
        line = line.substr(first, line.find_last_not_of(" \t") - first + 1);
        HandleControl(line);
    }
}

void SimHost::HandleControl(const std::string& line)
{
    const Simulator::ControlResult result = m_simulator.Control(line, Now());
    WriteNotes();
    PrintLine(result.Ok ? "ACK " + line : "NAK " + line + ": " + result.Error);
    if (result.Quit) {
        m_done = true;
        m_endReason = "quit";
    } else if (m_simulator.HangUpNow()) {
        HangUp();
    }
}

void SimHost::ReadCommands()
{
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(m_pty.Master(), chunk, sizeof chunk);
        if (n > 0) {
            m_commandBuffer.append(chunk, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            Note(std::string("line error: ") + std::strerror(errno));
            m_done = true;
            m_endReason = "line error";
        }
        break;
    }
    // A command ends at CR (CR LF, or a lone LF from a terminal); empty lines are nothing.
    for (;;) {
        const size_t end = m_commandBuffer.find_first_of("\r\n");
        if (end == std::string::npos)
            break;
        const std::string command = m_commandBuffer.substr(0, end);
        m_commandBuffer.erase(0, end + 1);
        if (!command.empty())
            HandleCommand(command);
        if (m_done || !m_pty.IsOpen())
            return;
    }
    if (m_commandBuffer.size() > MaxCommandBytes) {
        Note("discarded " + std::to_string(m_commandBuffer.size()) + " bytes without a line end");
        m_commandBuffer.clear();
    }
}

void SimHost::HandleCommand(const std::string& command)
{
    const Micros now = Now();
    Log(TranscriptLine('>', command));
    Simulator::Outgoing out = m_simulator.Receive(command, now);
    for (const std::string& warning : m_simulator.TakeReplayWarnings())
        std::fprintf(stderr, "vx-logger-sim: %s\n", warning.c_str());
    WriteNotes();
    // The reply can start once the command's last byte has crossed the wire.
    const Micros readyAt = now + m_output.WireTime(command.size() + 2) + out.DelayUs;
    if (out.Send) {
        std::string label = TranscriptLine('<', WithoutLineEnd(out.Bytes));
        m_output.Push(std::move(out.Bytes), readyAt, out.HangUpAfter, std::move(label));
    } else if (out.HangUpAfter) {
        m_output.Push({}, now, true, {});
    }
}

void SimHost::WriteDue()
{
    while (m_pty.IsOpen() && !m_writeBlocked) {
        const Micros now = Now();
        if (auto finished = m_output.TakeFinished(now)) {
            if (finished->HangUp) {
                m_hangUpStarted = now;
                m_hangUpSawUnread = false;
                m_hangUpBy = now + HangUpGraceUs;
                HangUpOnceRead();
                return;
            }
            continue;
        }
        const std::string_view due = m_output.Due(now);
        if (due.empty())
            return;
        // The transcript line goes just before the reply's last bytes, so that whoever
        // has read the reply finds it in the transcript.
        if (m_output.FrontCompletesWith(due.size()))
            Log(m_output.FrontLabel());
        const ssize_t n = ::write(m_pty.Master(), due.data(), due.size());
        if (n < 0) {
            // Nobody reads the slave and its buffer is full (or the write failed): wait
            // until the line takes bytes again.
            if (errno != EINTR)
                m_writeBlocked = true;
            return;
        }
        m_output.Consume(static_cast<size_t>(n));
        if (static_cast<size_t>(n) < due.size())
            m_writeBlocked = true;
    }
}

void SimHost::HangUpOnceRead()
{
    if (!m_hangUpBy)
        return;
    const Micros now = Now();
    const bool unread = m_pty.UnreadByClient() > 0;
    m_hangUpSawUnread = m_hangUpSawUnread || unread;
    const bool read = !unread && (m_hangUpSawUnread || now - m_hangUpStarted >= HangUpSettleUs);
    if (read || now >= *m_hangUpBy)
        HangUp();
}

void SimHost::HangUp()
{
    Note("hang-up: the line is closed");
    m_pty.HangUp();
    m_link.Remove();
    m_done = true;
    m_endReason = "hang-up";
}

int SimHost::Run()
{
    if (!Start())
        return 2;

    while (!m_done) {
        if (m_hangUpBy) {
            HangUpOnceRead();
        } else {
            WriteDue();
        }
        if (m_done)
            break;

        pollfd fds[4];
        int count = 0;
        fds[count++] = {g_signalPipe[0], POLLIN, 0};
        const int master = count;
        fds[count++] = {m_pty.Master(), static_cast<short>(POLLIN | (m_writeBlocked ? POLLOUT : 0)),
                        0};
        int in = -1;
        if (m_stdinOpen) {
            in = count;
            fds[count++] = {STDIN_FILENO, POLLIN, 0};
        }
        int fifo = -1;
        if (m_fifo >= 0) {
            fifo = count;
            fds[count++] = {m_fifo, POLLIN, 0};
        }

        const Micros now = Now();
        std::optional<Micros> next = m_simulator.NextEventTime();
        if (m_hangUpBy)
            next = now + HangUpLookUs;
        else if (!m_writeBlocked) {
            const auto due = m_output.NextDueTime();
            if (due && (!next || *due < *next))
                next = due;
        }
        timespec timeout{};
        timespec* wait = nullptr;
        if (next) {
            const Micros us = std::max<Micros>(0, *next - now);
            timeout.tv_sec = us / 1000000;
            timeout.tv_nsec = (us % 1000000) * 1000;
            wait = &timeout;
        }
        const int ready = ::ppoll(fds, static_cast<nfds_t>(count), wait, nullptr);
        if (ready < 0 && errno != EINTR) {
            m_endReason = std::string("poll: ") + std::strerror(errno);
            break;
        }

        if (fds[0].revents & POLLIN) {
            m_done = true;
            m_endReason = "signal";
            break;
        }
        if (fds[master].revents & POLLOUT)
            m_writeBlocked = false;
        if (fds[master].revents & (POLLIN | POLLERR | POLLHUP))
            ReadCommands();
        if (!m_done && in >= 0 && (fds[in].revents & (POLLIN | POLLHUP | POLLERR))) {
            bool closed = false;
            ReadLine(STDIN_FILENO, m_stdinBuffer, closed);
            if (closed && !m_done) {
                // The end of the control channel is the end of the run.
                m_stdinOpen = false;
                m_done = true;
                m_endReason = "standard input closed";
            }
        }
        if (!m_done && fifo >= 0 && (fds[fifo].revents & POLLIN)) {
            bool closed = false;
            ReadLine(m_fifo, m_fifoBuffer, closed);
        }
        m_simulator.Advance(Now());
        WriteNotes();
    }
    Note("end: " + m_endReason);
    m_link.Remove();
    return 0;
}

} // namespace vxsim
