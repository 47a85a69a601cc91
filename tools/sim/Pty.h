#pragma once

#include <string>

namespace vxsim
{

// The simulator's end of a pseudo-terminal. It keeps its own descriptor of the slave
// open for as long as it lives: without one, reads on the master fail with EIO whenever
// no client has the slave open (between two tests, before the program connects).
class Pty
{
public:
    Pty() = default;
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    // Opens the pair, raw 8N1 on the slave, master non-blocking. Empty on success, else why.
    std::string Open();
    // Closes both ends: the client sees the line drop.
    void HangUp();

    int Master() const { return m_master; }
    // Bytes written to the master that the client has not read yet. A hang-up throws them
    // away, so a last reply waits for them to be read.
    int UnreadByClient() const;
    const std::string& SlavePath() const { return m_slavePath; }
    bool IsOpen() const { return m_master >= 0; }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

// A symbolic link to the slave ("ports/COM1"), made with its folders and replaced
// atomically if one is there; removed on Remove() only while it still points at our slave,
// so that a second simulator that took the name over keeps it.
class PortLink
{
public:
    ~PortLink() { Remove(); }
    // Empty on success, else why. Refuses to replace anything but a symbolic link.
    std::string Make(const std::string& linkPath, const std::string& target);
    void Remove();

private:
    std::string m_path;
    std::string m_target;
};

} // namespace vxsim
