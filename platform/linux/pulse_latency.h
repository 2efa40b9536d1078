// How long until what this process plays now is heard, asked of the PulseAudio server (or a server
// speaking its protocol) that SDL plays through. SDL reports no output latency, and how much its
// stream has queued in the server differs from run to run by whole periods; the server knows it.
// libpulse is loaded when asked, as SDL loads it: without it the probe simply knows nothing.
#pragma once

#include <cstdint>

namespace platform {

class PulseLatencyProbe {
 public:
  PulseLatencyProbe();
  ~PulseLatencyProbe();
  PulseLatencyProbe(const PulseLatencyProbe&) = delete;
  PulseLatencyProbe& operator=(const PulseLatencyProbe&) = delete;

  // Connects to the server; waits at most a second. False when there is no library or server.
  bool connect();

  // The server's figure for this process's playback stream: how long until a sample written now is
  // heard (the stream's queue in the server and the sink's own latency), in microseconds, and the
  // counter reading (systemCounter) of the moment the figure stands for. False when the server
  // does not answer within 20 ms or holds no stream of this process.
  bool streamLatency(int64_t& latencyUs, int64_t& atCount);

 private:
  struct Session;
  Session* session_ = nullptr;
};

}  // namespace platform
