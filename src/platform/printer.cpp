#include "platform/printer.h"

#include <cups/cups.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/failure.h"
#include "platform/threads.h"

namespace platform {

PrinterDevice Printer;

namespace {

constexpr double kPointsPerPixel = 72.0 / 96.0;
constexpr double kPointsPerTwip = 72.0 / 1440.0;
constexpr int kConnectMilliseconds = 1500;
constexpr double kTransferSeconds = 10.0;
// Waits on the server are cut into slices this long, so that leaving can stop one at once.
constexpr double kWaitSliceSeconds = 0.2;
constexpr double kPointsPerHundredthMm = 72.0 / 2540.0;
constexpr std::chrono::milliseconds kLeavingBound{2000};
constexpr std::chrono::milliseconds kLetGoBound{1500};

// The paper and its printable area, in points, as the sheet lies in the printer: portrait.
struct Media {
  double width = 595, length = 842;  // A4, when the destination names none
  double left = 0, bottom = 0, right = 0, top = 0;
};

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

// The picture's pixels as RGB bytes, any transparency laid over white paper.
std::string RgbBytes(const PictureData& picture) {
  std::string rgb;
  rgb.reserve(picture.pixels.size() * 3);
  for (std::uint32_t argb : picture.pixels) {
    const std::uint32_t alpha = argb >> 24;
    for (int shift : {16, 8, 0}) {
      const std::uint32_t c = (argb >> shift) & 0xFF;
      rgb += static_cast<char>((c * alpha + 255 * (255 - alpha) + 127) / 255);
    }
  }
  return rgb;
}

class PdfWriter {
 public:
  void Object(int number, const std::string& body) {
    if (offsets_.size() < static_cast<std::size_t>(number)) offsets_.resize(number);
    offsets_[number - 1] = out_.size();
    out_ += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
  }
  static std::string Stream(const std::string& dictionary, const std::string& data) {
    return "<< " + dictionary + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data +
           "\nendstream";
  }
  std::string Finish(int root) {
    const std::size_t xref = out_.size();
    out_ += "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets_) {
      char line[24];
      std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
      out_ += line;
    }
    out_ += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root " +
            std::to_string(root) + " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return std::move(out_);
  }

 private:
  std::string out_ = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::vector<std::size_t> offsets_;
};

}  // namespace

void PrinterDevice::SetOrientation(std::int16_t orientation) {
  if (orientation != vbPRORPortrait && orientation != vbPRORLandscape) {
    throw RuntimeError("invalid printer orientation " + std::to_string(orientation));
  }
  orientation_ = orientation;
}

void PrinterDevice::PaintPicture(const Picture& picture, float x, float y) {
  if (!picture || picture->width <= 0 || picture->height <= 0) {
    throw RuntimeError("no picture to print");
  }
  page_.push_back({picture, x, y});
}

namespace {

std::string PagePdf(const auto& placed, bool landscape, const Media& media) {
  // A page of the other orientation than the sheet is the sheet turned a quarter clockwise,
  // as a printer turns it: the sheet's left margin is then at the top and its bottom margin
  // at the left.
  const bool turned = landscape == (media.width < media.length);
  const double width = turned ? media.length : media.width;
  const double height = turned ? media.width : media.length;
  const double margin_left = turned ? media.bottom : media.left;
  const double margin_top = turned ? media.left : media.top;
  PdfWriter pdf;
  const int catalog = 1, pages = 2, page = 3, contents = 4;
  std::string images, drawing;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    const PictureData& picture = *placed[i].picture;
    const int image = contents + 1 + static_cast<int>(i);
    const std::string name = "/Im" + std::to_string(i);
    images += name + " " + std::to_string(image) + " 0 R ";
    const double w = picture.width * kPointsPerPixel, h = picture.height * kPointsPerPixel;
    const double left = margin_left + placed[i].x_twips * kPointsPerTwip;
    const double bottom = height - margin_top - placed[i].y_twips * kPointsPerTwip - h;
    drawing += "q " + Number(w) + " 0 0 " + Number(h) + " " + Number(left) + " " + Number(bottom) +
               " cm " + name + " Do Q\n";
    pdf.Object(image, PdfWriter::Stream("/Type /XObject /Subtype /Image /Width " +
                                            std::to_string(picture.width) + " /Height " +
                                            std::to_string(picture.height) +
                                            " /ColorSpace /DeviceRGB /BitsPerComponent 8",
                                        RgbBytes(picture)));
  }
  pdf.Object(catalog, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(pages, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(page, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(width) + " " +
                       Number(height) + "] /Resources << /XObject << " + images +
                       ">> >> /Contents 4 0 R >>");
  pdf.Object(contents, PdfWriter::Stream("", drawing));
  return pdf.Finish(catalog);
}

struct HttpCloser {
  void operator()(http_t* http) const { httpClose(http); }
};
struct DestFree {
  void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct DestInfoFree {
  void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};

Media DefaultMedia(http_t* http, cups_dest_t* dest) {
  // The printer's own default paper with its margins, read from its description. The
  // library's default guesses from the locale instead, and for a printer that names no
  // paper of its own (a custom size) A4 is the safer guess.
  Media media;
  std::unique_ptr<cups_dinfo_t, DestInfoFree> info(cupsCopyDestInfo(http, dest));
  ipp_attribute_t* chosen =
      info ? cupsFindDestDefault(http, dest, info.get(), "media-col") : nullptr;
  ipp_t* paper = chosen != nullptr ? ippGetCollection(chosen, 0) : nullptr;
  ipp_attribute_t* dimensions =
      paper != nullptr ? ippFindAttribute(paper, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
  ipp_t* sheet = dimensions != nullptr ? ippGetCollection(dimensions, 0) : nullptr;
  if (sheet == nullptr) return media;
  // Printers describe their paper in whole points; the sizes come here in hundredths of a
  // millimetre, and a page a fraction of a point off its paper would be shrunk to fit.
  const auto points = [](ipp_t* collection, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(collection, name, IPP_TAG_INTEGER);
    return attribute != nullptr ? std::round(ippGetInteger(attribute, 0) * kPointsPerHundredthMm)
                                : 0.0;
  };
  if (points(sheet, "x-dimension") <= 0 || points(sheet, "y-dimension") <= 0) return media;
  media.width = points(sheet, "x-dimension");
  media.length = points(sheet, "y-dimension");
  media.left = points(paper, "media-left-margin");
  media.bottom = points(paper, "media-bottom-margin");
  media.right = points(paper, "media-right-margin");
  media.top = points(paper, "media-top-margin");
  return media;
}

// Decides, after each slice of a wait with nothing from the server, whether to wait on: not
// once the program is leaving, nor after kTransferSeconds of silence. Whether it gave up is
// what tells a time-out from the server's own answer.
struct Silence {
  const std::atomic<bool>& cut;
  bool timed_out = false;

  static int WaitOn(http_t* http, void* data) {
    auto& silence = *static_cast<Silence*>(data);
    const bool wait_on =
        !silence.cut.load() &&
        std::difftime(std::time(nullptr), httpGetActivity(http)) < kTransferSeconds;
    silence.timed_out = !wait_on;
    return wait_on ? 1 : 0;
  }
};

template <class Page>
void SendPage(const Page& page, const std::atomic<bool>& cut) {
  // The server is looked up afresh for every job, so that one started after us is found.
  // Our own connection makes a missing server known within the connect timeout.
  cupsSetServer(nullptr);
  const std::string host = cupsServer();
  const std::string server = host.starts_with('/') ? host : host + ":" + std::to_string(ippPort());
  std::unique_ptr<http_t, HttpCloser> http(httpConnect2(host.c_str(), ippPort(), nullptr, AF_UNSPEC,
                                                        cupsEncryption(), 1, kConnectMilliseconds,
                                                        nullptr));
  if (!http) throw RuntimeError("no print server at " + server);
  Silence silence{cut};
  httpSetTimeout(http.get(), kWaitSliceSeconds, &Silence::WaitOn, &silence);
  // The library reports a server that stopped answering as it does a missing printer.
  const auto failed = [&](const std::string& otherwise) {
    if (silence.timed_out || httpError(http.get()) == ETIMEDOUT) {
      return RuntimeError("the print server at " + server + " did not answer: timed out");
    }
    return RuntimeError(otherwise);
  };
  std::unique_ptr<cups_dest_t, DestFree> dest(cupsGetNamedDest(http.get(), nullptr, nullptr));
  if (!dest) {
    const ipp_status_t status = cupsLastError();
    throw failed(status == IPP_STATUS_OK || status == IPP_STATUS_ERROR_NOT_FOUND
                     ? std::string("no default printer")
                     : std::string("refused by the print server: ") + cupsLastErrorString());
  }
  const std::string pdf =
      PagePdf(page.placed, page.landscape, DefaultMedia(http.get(), dest.get()));

  const int job = cupsCreateJob(http.get(), dest->name, "Colouring page", 0, nullptr);
  if (job == 0) throw failed(std::string("refused by the print server: ") + cupsLastErrorString());
  const bool sent =
      cupsStartDocument(http.get(), dest->name, job, "colouring-page.pdf", CUPS_FORMAT_PDF, 1) ==
          HTTP_STATUS_CONTINUE &&
      cupsWriteRequestData(http.get(), pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE;
  if (cupsFinishDocument(http.get(), dest->name) != IPP_STATUS_OK || !sent) {
    const RuntimeError why = failed(std::string("printing failed: ") + cupsLastErrorString());
    // A server that stopped answering would not hear the cancel either.
    if (!silence.timed_out) cupsCancelJob2(http.get(), dest->name, job, 0);
    throw why;
  }
}

}  // namespace

// The pages handed over, and the thread that sends them one after the other.
struct PrinterDevice::Spooler {
  std::mutex lock;
  std::condition_variable changed;
  std::deque<Page> waiting;
  bool sending = false;
  bool closing = false;
  // Set when the program leaves while a page is still on its way: its waits end at once.
  std::atomic<bool> cut{false};
  std::thread thread;

  // With the lock held.
  bool AllSent() const { return waiting.empty() && !sending; }

  void Run() {
    std::unique_lock<std::mutex> held(lock);
    for (;;) {
      changed.wait(held, [this] { return closing || !waiting.empty(); });
      if (waiting.empty()) return;
      const Page page = std::move(waiting.front());
      waiting.pop_front();
      sending = true;
      held.unlock();
      try {
        SendPage(page, cut);
      } catch (const std::exception& failure) {
        Report(std::string("a page was not printed: ") + failure.what());
      }
      held.lock();
      sending = false;
      changed.notify_all();
    }
  }
};

PrinterDevice::PrinterDevice() : spooler_(std::make_unique<Spooler>()) {}

PrinterDevice::~PrinterDevice() {
  Spooler& spooler = *spooler_;
  std::unique_lock<std::mutex> held(spooler.lock);
  spooler.closing = true;
  spooler.changed.notify_all();
  // A server that answers still gets the pages it takes within the bound; what is left then
  // is dropped, and the page on its way is cut.
  const auto idle = [&spooler] { return !spooler.sending; };
  const auto all_sent = [&spooler] { return spooler.AllSent(); };
  if (!spooler.changed.wait_for(held, kLeavingBound, all_sent)) {
    const std::size_t dropped = spooler.waiting.size();
    spooler.waiting.clear();
    if (dropped > 0) {
      Report(std::to_string(dropped) + (dropped == 1 ? " page" : " pages") +
             " not yet sent to the printer dropped");
    }
    spooler.cut = true;
    // Every wait on the server ends within a slice once cut, but for the library's own
    // one-second wait for a first answer; a lookup of the server's name or a connect may
    // still take their own time, and the program does not wait for them.
    if (!spooler.changed.wait_for(held, kLetGoBound, idle)) {
      Report("the page on its way to the printer was abandoned");
      held.unlock();
      spooler.thread.detach();
      // The thread still uses the spooler: it goes with the process.
      static_cast<void>(spooler_.release());
      return;
    }
  }
  held.unlock();
  if (spooler.thread.joinable()) spooler.thread.join();
}

void PrinterDevice::EndDoc() {
  if (page_.empty()) return;
  // The document ends here whether or not it reaches a printer: a failed page must not
  // come out again under the next one.
  Page page{std::move(page_), orientation_ == vbPRORLandscape};
  page_.clear();
  {
    const std::lock_guard<std::mutex> held(spooler_->lock);
    spooler_->waiting.push_back(std::move(page));
    if (!spooler_->thread.joinable()) {
      try {
        spooler_->thread = MakeThread("to send pages to the printer",
                                      [spooler = spooler_.get()] { spooler->Run(); });
      } catch (const RuntimeError&) {
        // Nothing would ever send it: leaving must not wait for it.
        spooler_->waiting.clear();
        throw;
      }
    }
  }
  spooler_->changed.notify_all();
}

void PrinterDevice::WaitForJobs() {
  std::unique_lock<std::mutex> held(spooler_->lock);
  spooler_->changed.wait(held, [this] { return spooler_->AllSent(); });
}

}  // namespace platform
