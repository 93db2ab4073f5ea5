#include "platform/X11Connection.h"

#include <fcntl.h>
#include <poll.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>

#include "platform/X11Errors.h"

// XESetWireToError, the connection's flags and lock; Xlibint.h defines macros with common names.
#include <X11/Xlibint.h>
#undef min
#undef max

namespace vornix::platform {
namespace {

std::atomic<unsigned long> unexpectedErrors{0};

// Marks our entry on the display's extension list; the entry's data is the connection itself,
// which is not Xlib's to free.
int Detach(XExtData*) { return 0; }

detail::TX11Connection* ConnectionOf(::Display* display) {
  XEDataObject object;
  object.display = display;
  for (XExtData* e = *XEHeadOfExtensionList(object); e != nullptr; e = e->next) {
    if (e->free_private == &Detach) return reinterpret_cast<detail::TX11Connection*>(e->private_data);
  }
  return nullptr;
}

Bool DropError(::Display* display, XErrorEvent* error, xError*) {
  static const bool trace = [] {
    const char* v = std::getenv("VORNIX_X11_TRACE_ERRORS");
    return v != nullptr && *v != '\0' && std::strcmp(v, "0") != 0;
  }();
  detail::TX11Connection* connection = ConnectionOf(display);
  // Our windows go with the host's window at any moment, and we never use an id of ours after we
  // destroyed it: an error that says one of them is unknown is the host's doing.
  const bool ours = (error->resourceid & ~display->resource_mask) == display->resource_base;
  const bool vanished = ours && (error->error_code == BadWindow || error->error_code == BadDrawable);
  const bool expected = vanished || (connection != nullptr && connection->Expected(error->serial));
  if (!expected) unexpectedErrors.fetch_add(1, std::memory_order_relaxed);
  if (trace) {
    std::fprintf(stderr, "vornix: %s X error %d (request %d.%d, resource 0x%lx, serial %lu) dropped\n",
                 expected ? "expected" : "unexpected", error->error_code, error->request_code, error->minor_code,
                 error->resourceid, error->serial);
  }
  return False;
}

// The server closed the connection (or it broke): the socket says so without a read.
bool HungUp(int fd) {
  pollfd p{fd, POLLRDHUP, 0};
  return poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLRDHUP | POLLNVAL)) != 0;
}

}  // namespace

unsigned long X11UnexpectedErrors() { return unexpectedErrors.load(std::memory_order_relaxed); }

namespace detail {

TX11Connection::TX11Connection() : display_(XOpenDisplay(nullptr)) {
  if (display_ == nullptr) {
    const char* name = std::getenv("DISPLAY");
    throw std::runtime_error(std::string("cannot open the X display \"") + (name != nullptr ? name : "") + "\"");
  }
  // Xlib frees the entry (not its data) with the display.
  auto* entry = static_cast<XExtData*>(std::calloc(1, sizeof(XExtData)));
  if (entry == nullptr) {
    XCloseDisplay(display_);
    throw std::bad_alloc();
  }
  entry->private_data = reinterpret_cast<XPointer>(this);
  entry->free_private = &Detach;
  XEDataObject object;
  object.display = display_;
  XAddToExtensionList(XEHeadOfExtensionList(object), entry);
  for (int code = 1; code < 256; ++code) XESetWireToError(display_, code, DropError);
  XSetIOErrorExitHandler(display_, &TX11Connection::Lost, this);
  // Programs that we start (xdg-open) do not inherit the connection.
  const int fd = ConnectionNumber(display_);
  fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);
}

TX11Connection::~TX11Connection() {
  Alive();  // a server that has gone is not waited for
  XCloseDisplay(display_);
}

bool TX11Connection::Alive() const {
  if (!lost_ && HungUp(ConnectionNumber(display_))) {
    LockDisplay(display_);
    display_->flags = display_->flags | XlibDisplayIOError;
    UnlockDisplay(display_);
    lost_ = true;
  }
  return !lost_;
}

void TX11Connection::Lost(::Display*, void* connection) { static_cast<TX11Connection*>(connection)->lost_ = true; }

bool TX11Connection::Expected(unsigned long serial) {
  return std::any_of(expected_.begin(), expected_.end(),
                     [serial](const auto& range) { return serial >= range.first && serial <= range.second; });
}

// A scope's range is open (up to the largest serial) while it lives: errors of requests that wait
// for their answer come before it ends.
TExpectedErrors::TExpectedErrors(TX11Connection& connection)
    : connection_(connection), first_(NextRequest(connection.Display())) {
  // Errors come in the order of their requests: ranges the server has answered past are done.
  const unsigned long answered = LastKnownRequestProcessed(connection.Display());
  std::erase_if(connection_.expected_, [answered](const auto& range) { return range.second < answered; });
  connection_.expected_.emplace_back(first_, std::numeric_limits<unsigned long>::max());
}

TExpectedErrors::~TExpectedErrors() {
  const unsigned long last = NextRequest(connection_.Display()) - 1;
  auto& ranges = connection_.expected_;
  const auto open =
      std::find(ranges.rbegin(), ranges.rend(), std::make_pair(first_, std::numeric_limits<unsigned long>::max()));
  if (open == ranges.rend()) return;
  if (last >= first_) {
    open->second = last;
  } else {
    ranges.erase(std::next(open).base());  // no request was made
  }
}

}  // namespace detail
}  // namespace vornix::platform
