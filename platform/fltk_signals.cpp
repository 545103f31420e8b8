// The self-pipe that turns the end signals into an event of FLTK's loop.
#include "platform/fltk_signals.h"

#include <FL/Fl.H>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

int signalPipe[2] = {-1, -1}; // read end, write end

struct Reaction {
    void (*onSignal)(void*) = nullptr;
    void* data = nullptr;
};
Reaction reaction;

// Only what is safe in a signal handler: one write, errno kept.
void onEndSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
    errno = saved;
}

void onPipeReadable(int fd, void*) {
    char bytes[16];
    while (read(fd, bytes, sizeof bytes) > 0) {
    }
    if (reaction.onSignal) reaction.onSignal(reaction.data);
}

} // namespace

bool watchEndSignals(void (*onSignal)(void* data), void* data) {
    if (pipe2(signalPipe, O_NONBLOCK | O_CLOEXEC) != 0) return false;
    reaction = {onSignal, data};
    Fl::add_fd(signalPipe[0], FL_READ, onPipeReadable);
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kEndSignals) sigaction(signal, &action, nullptr);
    return true;
}
