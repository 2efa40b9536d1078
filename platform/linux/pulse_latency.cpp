#include "platform/linux/pulse_latency.h"

#include <dlfcn.h>
#include <pulse/pulseaudio.h>
#include <unistd.h>

#include <string>

#include "platform/platform.h"

namespace platform {
namespace {

// The library's entry points this probe calls, looked up by their own names and types.
// clang-format off
#define PULSE_FUNCTIONS(X)                                                                      \
  X(pa_mainloop_new) X(pa_mainloop_free) X(pa_mainloop_get_api) X(pa_mainloop_prepare)          \
  X(pa_mainloop_poll) X(pa_mainloop_dispatch) X(pa_context_new) X(pa_context_connect)           \
  X(pa_context_get_state) X(pa_context_disconnect) X(pa_context_unref)                          \
  X(pa_context_get_sink_input_info_list) X(pa_operation_get_state) X(pa_operation_cancel)       \
  X(pa_operation_unref) X(pa_proplist_gets)
// clang-format on

struct PulseLibrary {
  void* handle = nullptr;
#define DECLARE(name) decltype(&::name) name = nullptr;
  PULSE_FUNCTIONS(DECLARE)
#undef DECLARE

  bool load() {
    handle = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!handle) return false;
#define LOOK_UP(name)                                               \
  name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
  if (!name) return false;
    PULSE_FUNCTIONS(LOOK_UP)
#undef LOOK_UP
    return true;
  }
  ~PulseLibrary() {
    if (handle) dlclose(handle);
  }
};

int64_t countMicroseconds(int64_t ticks) {
  const int64_t frequency = systemCounter().frequency();
  return ticks / frequency * 1000000 + ticks % frequency * 1000000 / frequency;
}

}  // namespace

struct PulseLatencyProbe::Session {
  PulseLibrary pulse;
  pa_mainloop* loop = nullptr;
  pa_context* context = nullptr;

  ~Session() {
    if (context) {
      pulse.pa_context_disconnect(context);
      pulse.pa_context_unref(context);
    }
    if (loop) pulse.pa_mainloop_free(loop);
  }

  // One round of the loop, waiting at most until `deadline` (a counter reading).
  bool iterate(int64_t deadline) {
    const int64_t left = countMicroseconds(deadline - systemCounter().now());
    if (left <= 0) return false;
    if (pulse.pa_mainloop_prepare(loop, int(left)) < 0) return false;
    if (pulse.pa_mainloop_poll(loop) < 0) return false;
    return pulse.pa_mainloop_dispatch(loop) >= 0;
  }

  int64_t deadlineAfterMs(int64_t ms) const {
    return systemCounter().now() + systemCounter().frequency() * ms / 1000;
  }
};

PulseLatencyProbe::PulseLatencyProbe() = default;

PulseLatencyProbe::~PulseLatencyProbe() {
  delete session_;
}

bool PulseLatencyProbe::connect() {
  if (session_) return true;
  auto* session = new Session;
  PulseLibrary& pulse = session->pulse;
  bool ready = false;
  if (pulse.load() && (session->loop = pulse.pa_mainloop_new()) &&
      (session->context =
           pulse.pa_context_new(pulse.pa_mainloop_get_api(session->loop), "latency probe")) &&
      pulse.pa_context_connect(session->context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
    const int64_t deadline = session->deadlineAfterMs(1000);
    for (;;) {
      const pa_context_state_t state = pulse.pa_context_get_state(session->context);
      if (state == PA_CONTEXT_READY) ready = true;
      if (!PA_CONTEXT_IS_GOOD(state) || ready || !session->iterate(deadline)) break;
    }
  }
  if (!ready) {
    delete session;
    return false;
  }
  session_ = session;
  return true;
}

bool PulseLatencyProbe::streamLatency(int64_t& latencyUs, int64_t& atCount) {
  if (!session_) return false;
  struct Query {
    PulseLibrary* pulse;
    std::string pid;
    bool found = false;
    bool done = false;
    int64_t latencyUs = 0;
    int64_t answeredAt = 0;
  } query{&session_->pulse, std::to_string(getpid())};
  auto onInput = [](pa_context*, const pa_sink_input_info* info, int eol, void* data) {
    auto& q = *static_cast<Query*>(data);
    if (eol) {
      q.done = true;
      return;
    }
    const char* pid = q.pulse->pa_proplist_gets(info->proplist, PA_PROP_APPLICATION_PROCESS_ID);
    if (q.found || !pid || q.pid != pid) return;
    q.found = true;
    q.latencyUs = int64_t(info->buffer_usec) + int64_t(info->sink_usec);
    q.answeredAt = systemCounter().now();
  };
  const int64_t askedAt = systemCounter().now();
  pa_operation* operation =
      session_->pulse.pa_context_get_sink_input_info_list(session_->context, onInput, &query);
  if (!operation) return false;
  const int64_t deadline = session_->deadlineAfterMs(20);
  while (!query.done && session_->pulse.pa_operation_get_state(operation) == PA_OPERATION_RUNNING &&
         session_->iterate(deadline)) {
  }
  if (!query.done) session_->pulse.pa_operation_cancel(operation);
  session_->pulse.pa_operation_unref(operation);
  if (!query.found) return false;
  // The server took its figure somewhere between the question and the answer: a local server
  // answers within a fraction of a millisecond.
  latencyUs = query.latencyUs;
  atCount = askedAt + (query.answeredAt - askedAt) / 2;
  return true;
}

}  // namespace platform
