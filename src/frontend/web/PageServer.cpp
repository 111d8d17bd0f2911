#include "frontend/web/PageServer.h"

#include <sys/random.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <thread>

#include <httplib.h>

#include "decode/Korvane.h"
#include "decode/ReportHeader.h"
#include "decode/core/DecodeProgress.h"
#include "frontend/HeaderClock.h"
#include "frontend/Settings.h"
#include "frontend/web/Assets.h"
#include "frontend/web/DialogControls.h"
#include "frontend/web/FileChooser.h"
#include "frontend/web/HelpPage.h"
#include "frontend/web/Json.h"
#include "frontend/web/ListingPages.h"

namespace veltrix {

namespace {

constexpr const char* kJson = "application/json";
constexpr std::size_t kMaxPageLines = 500;

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SameSecret(std::string_view a, std::string_view b) {
  if (a.size() != b.size() || a.empty()) return false;
  unsigned char diff = 0;
  for (std::size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
  return diff == 0;
}

std::uint64_t NumberParam(const httplib::Request& req, const char* name) {
  if (!req.has_param(name)) return 0;
  const std::string text = req.get_param_value(name);
  return std::strtoull(text.c_str(), nullptr, 10);
}

FormFields FormOf(const httplib::Request& req) {
  FormFields form;
  for (const auto& [name, value] : req.params) form.emplace(name, value);
  return form;
}

std::string_view KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::CheckBox: return "check";
    case ControlKind::Edit: return "edit";
    case ControlKind::Button: return "button";
  }
  return "";
}

PageJson SettingsJson(const DecodeSettings& s) {
  PageJson settings = PageJson::object();
  for (const DialogControl& c : DialogControls()) {
    if (c.flag) settings[std::string(c.key)] = static_cast<std::uint64_t>(s.*c.flag);
    if (c.name) settings[std::string(c.key)] = PageText(s.*c.name);
  }
  settings["FirstDFID"] = std::to_string(s.FirstDFID);
  return settings;
}

PageJson ControlsJson() {
  PageJson controls = PageJson::array();
  for (const DialogControl& c : DialogControls()) {
    controls.push_back({{"id", c.id},
                        {"kind", KindName(c.kind)},
                        {"group", c.group},
                        {"label", c.label},
                        {"key", c.key},
                        {"enable", {c.enable.unchecked, c.enable.checked, c.enable.alsoChecked}},
                        {"suppressed", c.shownOffWhenSuppressed},
                        {"derive", c.derivedExtension},
                        {"help", c.help}});
  }
  return controls;
}

void Reply(httplib::Response& res, const PageJson& body) { res.set_content(PageJsonText(body), kJson); }

void ReplyMessage(httplib::Response& res, int status, std::string_view message) {
  res.status = status;
  Reply(res, {{"message", PageText(message)}});
}

}  // namespace

std::string MakePageToken() {
  unsigned char bytes[16];
  std::size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return "";
    got += static_cast<std::size_t>(n);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token;
  for (const unsigned char b : bytes) {
    token += kHex[b >> 4];
    token += kHex[b & 15];
  }
  return token;
}

struct PageServer::Impl {
  httplib::Server http;
  std::string token;
  std::string host;  // "127.0.0.1:port", the only Host accepted
  std::atomic<bool> closeRequested{false};

  mutable std::mutex mutex;  // guards everything below
  DecodeSettings settings;
  std::thread worker;
  bool running = false;
  DecodeProgress progress;
  std::string outcome;   // what the last run came to, for the page
  bool failed = false;
  std::string listingPath;  // the Dest of the last run, when it exists
  std::uint64_t exceptions = 0;
  std::uint32_t runs = 0;

  void Routes();
  bool Allowed(const httplib::Request& req) const;
  void StartDecode(const httplib::Request& req, httplib::Response& res);
  void Progress(httplib::Response& res);
  void Listing(const httplib::Request& req, httplib::Response& res);
  void Problem(const httplib::Request& req, httplib::Response& res);
  void Browse(const httplib::Request& req, httplib::Response& res);
  void Choose(const httplib::Request& req, httplib::Response& res);
  void State(httplib::Response& res);
  void Close(const httplib::Request& req, httplib::Response& res);
};

bool PageServer::Impl::Allowed(const httplib::Request& req) const {
  if (req.get_header_value("Host") != host) return false;
  const std::string given = req.has_param("t") ? req.get_param_value("t") : req.get_header_value("X-Veltrix-Token");
  return SameSecret(given, token);
}

void PageServer::Impl::Routes() {
  http.set_default_headers({
      {"Cache-Control", "no-store"},
      {"X-Content-Type-Options", "nosniff"},
      {"X-Frame-Options", "DENY"},
      {"Referrer-Policy", "no-referrer"},
      {"Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'; form-action 'none'"},
  });
  http.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (Allowed(req)) return httplib::Server::HandlerResponse::Unhandled;
    res.status = 403;
    res.set_content("403 Forbidden: this address is not for this request.\n", "text/plain");
    return httplib::Server::HandlerResponse::Handled;
  });
  const auto asset = [](const std::string& name, httplib::Response& res) {
    const EmbeddedAsset* file = FindAsset(name);
    if (!file) {
      res.status = 404;
      return;
    }
    res.set_content(reinterpret_cast<const char*>(file->bytes), file->size, std::string(AssetContentType(name)).c_str());
  };
  http.Get("/", [this](const httplib::Request&, httplib::Response& res) {
    const EmbeddedAsset* file = FindAsset("index.html");
    std::string page(reinterpret_cast<const char*>(file->bytes), file->size);
    // The page's own links carry the key (hex digits, nothing to escape).
    for (std::size_t at = page.find("%TOKEN%"); at != std::string::npos; at = page.find("%TOKEN%", at)) {
      page.replace(at, 7, token);
    }
    res.set_content(page, "text/html; charset=utf-8");
  });
  http.Get(R"(/([a-z]+\.(?:js|css|svg)))", [asset](const httplib::Request& req, httplib::Response& res) {
    asset(req.matches[1], res);
  });
  http.Get("/help", [this](const httplib::Request&, httplib::Response& res) {
    std::string path;
    {
      const std::lock_guard lock(mutex);
      path = settings.settingsPath;
    }
    res.set_content(HelpPageHtml(path, token), "text/html; charset=utf-8");
  });
  http.Get("/api/state", [this](const httplib::Request&, httplib::Response& res) { State(res); });
  http.Post("/api/flags", [this](const httplib::Request& req, httplib::Response& res) {
    const std::lock_guard lock(mutex);
    ApplyDialogForm(FormOf(req), settings, false);
    res.status = 204;
  });
  http.Post("/api/decode", [this](const httplib::Request& req, httplib::Response& res) { StartDecode(req, res); });
  http.Get("/api/progress", [this](const httplib::Request&, httplib::Response& res) { Progress(res); });
  http.Get("/api/listing", [this](const httplib::Request& req, httplib::Response& res) { Listing(req, res); });
  http.Get("/api/problem", [this](const httplib::Request& req, httplib::Response& res) { Problem(req, res); });
  http.Get("/api/browse", [this](const httplib::Request& req, httplib::Response& res) { Browse(req, res); });
  http.Post("/api/choose", [this](const httplib::Request& req, httplib::Response& res) { Choose(req, res); });
  http.Post("/api/close", [this](const httplib::Request& req, httplib::Response& res) { Close(req, res); });
}

void PageServer::Impl::State(httplib::Response& res) {
  const std::lock_guard lock(mutex);
  Reply(res, {{"product", "Veltrix"},
              {"version", kProgramVersionText},
              {"filter", kSourceFilter},
              {"controls", ControlsJson()},
              {"settings", SettingsJson(settings)},
              {"running", running},
              {"viewDest", !listingPath.empty()}});
}

void PageServer::Impl::StartDecode(const httplib::Request& req, httplib::Response& res) {
  const std::lock_guard lock(mutex);
  if (running) {
    res.status = 409;
    Reply(res, {{"started", false}, {"message", "A decode is already running: wait until it has ended."}});
    return;
  }
  if (worker.joinable()) worker.join();  // the last run has ended; its thread is done
  ApplyDialogForm(FormOf(req), settings, true);
  listingPath.clear();
  auto request = std::make_unique<DecodeRequest>();
  std::string why;
  if (!BuildPageRequest(settings, *request, why)) {
    Reply(res, {{"started", false}, {"message", PageText(why)}, {"settings", SettingsJson(settings)}});
    return;
  }
  request->clock = ReadHeaderClock();
  request->progress = &progress;
  progress.bytesRead = 0;
  progress.fileSize = 0;
  progress.fileNumber = 0;
  progress.fileCount = 0;
  running = true;
  outcome = "Decoding " + settings.SourceFile;
  failed = false;
  ++runs;
  worker = std::thread([this, request = std::move(request), dest = settings.DestFile]() mutable {
    const int result = DecodeFiles(*request);
    const std::lock_guard done(mutex);
    running = false;
    failed = result != 0 || !request->message.empty();
    if (failed) {
      outcome = request->message.empty() ? "The decode failed." : request->message;
      while (!outcome.empty() && outcome.back() == '\n') outcome.pop_back();
      if (!request->messageDetail.empty()) outcome += " (" + request->messageDetail + ")";
    } else {
      outcome = "Done: " + std::to_string(request->exceptionCount) +
                (request->exceptionCount == 1 ? " problem" : " problems") + " in the job.";
    }
    exceptions = request->exceptionCount;
    // View Dest opens the file that Dest names, when there is one by that name.
    if (IsRegularFile(dest)) listingPath = dest;
  });
  Reply(res, {{"started", true}, {"settings", SettingsJson(settings)}});
}

void PageServer::Impl::Progress(httplib::Response& res) {
  const std::lock_guard lock(mutex);
  Reply(res, {{"running", running},
              {"runs", runs},
              {"bytesRead", progress.bytesRead.load()},
              {"fileSize", progress.fileSize.load()},
              {"fileNumber", progress.fileNumber.load()},
              {"fileCount", progress.fileCount.load()},
              {"message", PageText(outcome)},
              {"failed", failed},
              {"exceptions", exceptions},
              {"viewDest", !running && !listingPath.empty()},
              {"settings", SettingsJson(settings)}});
}

void PageServer::Impl::Listing(const httplib::Request& req, httplib::Response& res) {
  std::string path;
  {
    const std::lock_guard lock(mutex);
    path = running ? "" : listingPath;
  }
  if (path.empty()) {
    ReplyMessage(res, 404, "There is no listing to show.");
    return;
  }
  const std::size_t lines = std::clamp<std::size_t>(NumberParam(req, "lines"), 1, kMaxPageLines);
  ListingPage page;
  std::string why;
  if (!ReadListingPage(path, NumberParam(req, "from"), lines, NumberParam(req, "back") != 0, page, why)) {
    ReplyMessage(res, 404, path + ": " + why);
    return;
  }
  PageJson texts = PageJson::array(), problems = PageJson::array();
  for (std::size_t i = 0; i < page.lines.size(); ++i) {
    texts.push_back(PageText(page.lines[i]));
    if (IsProblemLine(page.lines[i])) problems.push_back(i);
  }
  Reply(res, {{"path", PageText(path)},
              {"start", page.start},
              {"end", page.end},
              {"size", page.size},
              {"lines", std::move(texts)},
              {"problems", std::move(problems)}});
}

void PageServer::Impl::Problem(const httplib::Request& req, httplib::Response& res) {
  std::string path;
  {
    const std::lock_guard lock(mutex);
    path = running ? "" : listingPath;
  }
  const bool forward = req.get_param_value("dir") != "prev";
  const auto found = path.empty() ? std::nullopt : FindProblemLine(path, NumberParam(req, "from"), forward);
  Reply(res, {{"found", found.has_value()}, {"offset", found.value_or(0)}});
}

void PageServer::Impl::Browse(const httplib::Request& req, httplib::Response& res) {
  const std::vector<ChooserFilter> filters = ParseChooserFilter(kSourceFilter);
  const std::size_t filter = std::min<std::size_t>(NumberParam(req, "filter"), filters.size() - 1);
  std::string dir = req.get_param_value("dir");
  if (dir.empty()) {
    const std::lock_guard lock(mutex);
    const std::filesystem::path source = settings.SourceFile;
    if (source.has_parent_path()) dir = source.parent_path().string();
  }
  ChooserFolder folder;
  std::string why;
  if (!ListChooserFolder(dir, filters[filter].patterns, folder, why) &&
      !ListChooserFolder("", filters[filter].patterns, folder, why)) {
    ReplyMessage(res, 404, why);
    return;
  }
  PageJson filterNames = PageJson::array(), entries = PageJson::array();
  for (const ChooserFilter& f : filters) filterNames.push_back(f.description + " (" + f.patterns + ")");
  for (const ChooserEntry& e : folder.entries) entries.push_back({{"name", PageText(e.name)}, {"folder", e.folder}});
  Reply(res, {{"path", PageText(folder.path)},
              {"parent", PageText(folder.parent)},
              {"filter", filter},
              {"filters", std::move(filterNames)},
              {"cut", folder.cut},
              {"entries", std::move(entries)}});
}

void PageServer::Impl::Choose(const httplib::Request& req, httplib::Response& res) {
  const std::string path = req.get_param_value("path");
  std::error_code ec;
  const std::string full = std::filesystem::absolute(path, ec).lexically_normal().string();
  if (path.empty() || ec || !IsRegularFile(full)) {
    ReplyMessage(res, 404, path + ": there is no such file.");
    return;
  }
  const std::lock_guard lock(mutex);
  settings.SourceFile = full;
  if (settings.ForceMatch) DeriveMatchingNames(settings);
  Reply(res, {{"path", PageText(full)}});
}

void PageServer::Impl::Close(const httplib::Request& req, httplib::Response& res) {
  SettingsOutcome saved;
  {
    const std::lock_guard lock(mutex);
    ApplyDialogForm(FormOf(req), settings, true);
    saved = SaveSettings(settings);
  }
  Reply(res, {{"saved", saved.ok}, {"message", PageText(saved.ok ? "The settings are saved." : saved.message)}});
  closeRequested = true;  // the watcher stops the server once this reply is on its way
}

PageServer::PageServer(const DecodeSettings& settings, std::string token) : impl_(std::make_unique<Impl>()) {
  impl_->settings = settings;
  impl_->token = std::move(token);
  impl_->Routes();
}

PageServer::~PageServer() {
  if (impl_->worker.joinable()) impl_->worker.join();
}

int PageServer::Bind(int port, std::string& why) {
  impl_->http.set_keep_alive_timeout(2);
  impl_->http.set_payload_max_length(64 * 1024);  // the largest form is a few kilobytes
  const int bound = port == 0 ? impl_->http.bind_to_any_port("127.0.0.1")
                              : (impl_->http.bind_to_port("127.0.0.1", port) ? port : -1);
  if (bound <= 0) {
    why = "cannot listen on 127.0.0.1 port " + std::to_string(port) + " (in use?)";
    return 0;
  }
  impl_->host = "127.0.0.1:" + std::to_string(bound);
  return bound;
}

void PageServer::Run() {
  impl_->http.listen_after_bind();
  if (impl_->worker.joinable()) impl_->worker.join();
}

void PageServer::Stop() { impl_->http.stop(); }

bool PageServer::CloseRequested() const { return impl_->closeRequested; }

DecodeSettings PageServer::Settings() const {
  const std::lock_guard lock(impl_->mutex);
  return impl_->settings;
}

}  // namespace veltrix
