#include "Pty.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace vxsim
{

namespace
{
std::string Why(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

void CloseIfOpen(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// mkdir -p of the folder that holds `path`.
bool MakeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}
} // namespace

Pty::~Pty()
{
    HangUp();
}

std::string Pty::Open()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return Why("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return Why("grantpt/unlockpt");
    char name[PATH_MAX];
    if (::ptsname_r(m_master, name, sizeof name) != 0)
        return Why("ptsname_r");
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0)
        return Why("open " + m_slavePath);

    // Raw, so that the slave neither echoes our replies back to us nor edits lines; a
    // client that opens the port sets its own mode anyway.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) != 0)
        return Why("tcgetattr");
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0)
        return Why("tcsetattr");

    const int flags = ::fcntl(m_master, F_GETFL);
    if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0)
        return Why("fcntl");
    return {};
}

int Pty::UnreadByClient() const
{
    int count = 0;
    if (m_slave < 0 || ::ioctl(m_slave, FIONREAD, &count) != 0)
        return 0;
    return count;
}

void Pty::HangUp()
{
    CloseIfOpen(m_master);
    CloseIfOpen(m_slave);
}

std::string PortLink::Make(const std::string& linkPath, const std::string& target)
{
    if (!MakeFolders(linkPath))
        return Why("making the folders of " + linkPath);
    struct stat st {
    };
    if (::lstat(linkPath.c_str(), &st) == 0 && !S_ISLNK(st.st_mode))
        return linkPath + " exists and is not a symbolic link; left alone";
    const std::string temporary = linkPath + ".sim" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0)
        return Why("symlink " + temporary);
    if (::rename(temporary.c_str(), linkPath.c_str()) != 0) {
        std::string why = Why("rename to " + linkPath);
        ::unlink(temporary.c_str());
        return why;
    }
    m_path = linkPath;
    m_target = target;
    return {};
}

void PortLink::Remove()
{
    if (m_path.empty())
        return;
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(m_path.c_str(), buffer, sizeof buffer - 1);
    if (n >= 0 && std::string(buffer, static_cast<size_t>(n)) == m_target)
        ::unlink(m_path.c_str());
    m_path.clear();
}

} // namespace vxsim
