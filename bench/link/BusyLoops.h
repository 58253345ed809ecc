#pragma once

#include <csignal>
#include <ctime>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// Two children that keep both cores busy while a figure is measured; each
// spins for at most `seconds`, so that it ends even if the bench dies.
class BusyLoops {
public:
    explicit BusyLoops(int seconds) {
        for (pid_t& child : m_children)
            child = start(seconds);
    }
    ~BusyLoops() {
        for (const pid_t child : m_children) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
    }
    BusyLoops(const BusyLoops&) = delete;
    BusyLoops& operator=(const BusyLoops&) = delete;

private:
    static pid_t start(int seconds) {
        const pid_t child = fork();
        if (child == 0) {
            const time_t end = time(nullptr) + seconds;
            volatile unsigned long spin = 0;
            while (time(nullptr) < end)
                for (int i = 0; i < 1000000; ++i)
                    spin = spin + 1;
            _exit(0);
        }
        return child;
    }

    pid_t m_children[2] = {};
};
