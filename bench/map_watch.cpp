// Times a program from process start to its first top-level window mapped, then asks that window to close
// and times the exit; prints the program's peak resident memory. Listens for MapNotify on the root window,
// so the time is taken when the X server maps the window, without polling.
//
// usage: map_watch <program> [arguments...]   (DISPLAY must name an X server)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t a = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return a;
}

double msSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: map_watch <program> [arguments...]\n");
    return 2;
  }
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "map_watch: cannot open the display\n");
    return 2;
  }
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
  const xcb_atom_t protocols = atom(c, "WM_PROTOCOLS");
  const xcb_atom_t deleteWindow = atom(c, "WM_DELETE_WINDOW");
  xcb_flush(c);

  const auto t0 = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execv(argv[1], argv + 1);
    _exit(127);
  }
  double mappedMs = -1;
  while (xcb_generic_event_t* e = xcb_wait_for_event(c)) {
    bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
    xcb_window_t window = 0;
    if (mapped) {
      auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
      if (m->override_redirect) mapped = false;
      window = m->window;
    }
    std::free(e);
    if (!mapped) continue;
    mappedMs = msSince(t0);
    xcb_client_message_event_t close{};
    close.response_type = XCB_CLIENT_MESSAGE;
    close.format = 32;
    close.window = window;
    close.type = protocols;
    close.data.data32[0] = deleteWindow;
    close.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&close));
    xcb_flush(c);
    break;
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double exitMs = msSince(t0);
  std::printf("mapped_ms=%.1f exit_ms=%.1f maxrss_kib=%ld exit_code=%d\n", mappedMs, exitMs, usage.ru_maxrss,
              WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  xcb_disconnect(c);
  return mappedMs < 0 ? 1 : 0;
}
