#include "xdg_browser_opener.h"

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <utility>

#include "nb/web_address.h"

namespace nb {
namespace {

// Between fork() and exec() in a threaded program only async-signal-safe
// calls are allowed, so everything the children need is built beforehand.
// (glibc's execvp searches PATH without allocating.)
[[noreturn]] void BecomeOpener(const char* program, char* const argv[]) {
  // Signals the caller ignores or blocks (SIGPIPE, typically) would
  // otherwise stay ignored or blocked in the browser.
  struct sigaction default_action {};
  default_action.sa_handler = SIG_DFL;
  for (int signal_number = 1; signal_number < NSIG; ++signal_number) {
    ::sigaction(signal_number, &default_action, nullptr);
  }
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  // A session of its own keeps the browser alive when our terminal or
  // process group is signalled on exit.
  ::setsid();
  ::execvp(program, argv);
  ::_exit(127);
}

}  // namespace

XdgBrowserOpener::XdgBrowserOpener(std::string program) : program_(std::move(program)) {}

void XdgBrowserOpener::OpenInBrowser(std::string_view address) {
  if (!IsSafeWebAddress(address)) return;
  std::string argument(address);
  char* const argv[] = {program_.data(), argument.data(), nullptr};

  const pid_t child = ::fork();
  if (child < 0) return;
  if (child == 0) {
    // The intermediate child leaves at once, so the opener is adopted by
    // init (or a subreaper) and never waited for or left a zombie here.
    if (::fork() == 0) BecomeOpener(program_.c_str(), argv);
    ::_exit(0);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace nb
