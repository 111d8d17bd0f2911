// The HTTP server of the page: bound to 127.0.0.1, answering only requests
// that carry its token and name its own address in their Host header. It
// holds the one settings record while it runs and decodes in a worker
// thread, one run at a time.
#pragma once

#include <memory>
#include <string>

#include "decode/core/DecodeOptions.h"

namespace veltrix {

class PageServer {
 public:
  PageServer(const DecodeSettings& settings, std::string token);
  ~PageServer();
  PageServer(const PageServer&) = delete;
  PageServer& operator=(const PageServer&) = delete;

  // Binds to 127.0.0.1 and the port (0: a free one). Returns the port, or 0
  // with the reason.
  int Bind(int port, std::string& why);

  // Serves until Stop() or the page's Close; then waits for a running decode.
  void Run();

  // Safe from any thread.
  void Stop();
  bool CloseRequested() const;

  // The settings as they are now (after Run: as the page left them).
  DecodeSettings Settings() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// 128 random bits as hex, from the kernel's random source; empty when it
// cannot be read.
std::string MakePageToken();

}  // namespace veltrix
