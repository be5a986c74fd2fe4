#pragma once
// A private network namespace for one test: created with `ip netns add`,
// configured with `ip -n`, removed on destruction. run() executes work on a
// thread that has entered it, so nothing else of the test process moves.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <sched.h>
#include <string>
#include <thread>
#include <unistd.h>

class NetnsScope {
public:
    NetnsScope()
    {
        m_name = "welvane-test-" + std::to_string(::getpid());
        m_ok = sh("ip netns add " + m_name) && ip("link set lo up");
    }
    ~NetnsScope()
    {
        if (m_ok)
            sh("ip netns del " + m_name);
    }
    bool ok() const { return m_ok; }
    const std::string& name() const { return m_name; }

    // One `ip -n NAME ...` command; false if it failed.
    bool ip(const std::string& args) const { return sh("ip -n " + m_name + " " + args); }

    // Runs work inside the namespace; false if it could not be entered.
    bool run(const std::function<void()>& work) const
    {
        bool entered = false;
        std::thread t([&] {
            const int fd = ::open(("/run/netns/" + m_name).c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                return;
            entered = ::setns(fd, CLONE_NEWNET) == 0;
            ::close(fd);
            if (entered)
                work();
        });
        t.join();
        return entered;
    }

private:
    static bool sh(const std::string& command)
    {
        return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
    }
    std::string m_name;
    bool m_ok = false;
};
