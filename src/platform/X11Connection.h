// The X11 windows' own connection to the X server, and how its failures are kept from the host.
//
// - X errors: XSetErrorHandler would replace the host's handler for every connection of the
//   process and dangle after the library unloads. Instead each error converter of this connection
//   (XESetWireToError, per Display) drops the error: it never reaches the process's handler (whose
//   default exits the host), and it lives and dies with the connection. The code still avoids
//   errors by design. Those it cannot avoid are expected: requests on our windows after the host
//   destroyed its window (and ours with it) but before we heard of it, and probes of other
//   programs' windows (the host's, a clipboard requestor's), made inside a TExpectedErrors scope.
//   Any other counts as unexpected (X11UnexpectedErrors, which the tests check).
//   VORNIX_X11_TRACE_ERRORS=1 prints every dropped error to stderr.
// - Losing the server: Xlib's process-wide I/O error handler, which belongs to the host, exits the
//   process by default, so Xlib must never find the broken connection itself. Before every use
//   (Alive) we look whether the server hung up and, if so, mark the connection failed as Xlib's
//   own I/O error path does: from then on every call on it returns at once, XCloseDisplay included,
//   and the handler is never called. Should the server go in the midst of our calls, Xlib calls
//   the host's handler; if that returns, our exit handler (XSetIOErrorExitHandler, per connection)
//   returns too instead of exiting, and the connection is just as failed. It does not jump out
//   (longjmp, the classic way): that would skip our destructors and leave Xlib's state half-done.
#pragma once

#include <X11/Xlib.h>

#include <utility>
#include <vector>

namespace vornix::platform::detail {

class TX11Connection {
 public:
  // To the default display; throws std::runtime_error when it cannot be opened.
  TX11Connection();
  ~TX11Connection();
  TX11Connection(const TX11Connection&) = delete;
  TX11Connection& operator=(const TX11Connection&) = delete;

  ::Display* Display() const { return display_; }
  // False once the server has gone; then every call on the connection returns at once.
  bool Alive() const;
  // Whether an error with this serial came from a request made in a TExpectedErrors scope.
  bool Expected(unsigned long serial);

 private:
  friend class TExpectedErrors;
  static void Lost(::Display*, void* connection);

  ::Display* display_;
  mutable bool lost_ = false;
  std::vector<std::pair<unsigned long, unsigned long>> expected_;  // serials, first and last
};

// The requests made while it lives may fail without that being a fault of ours.
class TExpectedErrors {
 public:
  explicit TExpectedErrors(TX11Connection& connection);
  ~TExpectedErrors();
  TExpectedErrors(const TExpectedErrors&) = delete;
  TExpectedErrors& operator=(const TExpectedErrors&) = delete;

 private:
  TX11Connection& connection_;
  unsigned long first_;
};

}  // namespace vornix::platform::detail
