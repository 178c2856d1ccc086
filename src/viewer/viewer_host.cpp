#include "viewer/viewer_host.h"

#include "platform/printing/cups_printer_system.h"

namespace zr {

ViewerSession::ViewerSession(UiServices& ui, ViewerOptions options)
    : printers_(options.printers ? std::move(options.printers)
                                 : std::make_unique<CupsPrinterSystem>()),
      mail_(options.mail ? std::move(options.mail) : std::make_unique<XdgEmailHandOff>()),
      clock_(options.clock ? *options.clock : Clock::system()),
      http_(viewer_http_options()) {
  globals_ = std::make_unique<TvtGlobals>(ui, *printers_, clock_, &http_);
  viewer_ = std::make_unique<TzrViewer>(
      ui, options.work_folder ? *options.work_folder : WorkFolder::from_environment());
  auto runner = std::make_unique<ViewerRunner>(ViewerRunner::Services{http_, *mail_, clock_});
  runner_ = runner.get();
  viewer_->attach_runner(std::move(runner));
}

ViewerSession::~ViewerSession() {
  // The control and its report go before the engine state they use.
  viewer_.reset();
  globals_.reset();
}

std::unique_ptr<ViewerSession> MakeViewer(UiServices& ui, ViewerOptions options) {
  return std::make_unique<ViewerSession>(ui, std::move(options));
}

}  // namespace zr
