#include "platform/printer.h"

#include <cups/cups.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/failure.h"

namespace platform {

PrinterDevice Printer;

namespace {

// A4, in points (72 to the inch).
constexpr int kPageLongSide = 842;
constexpr int kPageShortSide = 595;
constexpr double kPointsPerPixel = 72.0 / 96.0;
constexpr double kPointsPerTwip = 72.0 / 1440.0;
constexpr int kConnectMilliseconds = 1500;
constexpr double kTransferSeconds = 10.0;

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

std::string PagePdf(const auto& placed, bool landscape) {
  const int width = landscape ? kPageLongSide : kPageShortSide;
  const int height = landscape ? kPageShortSide : kPageLongSide;
  PdfWriter pdf;
  const int catalog = 1, pages = 2, page = 3, contents = 4;
  std::string images, drawing;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    const PictureData& picture = *placed[i].picture;
    const int image = contents + 1 + static_cast<int>(i);
    const std::string name = "/Im" + std::to_string(i);
    images += name + " " + std::to_string(image) + " 0 R ";
    const double w = picture.width * kPointsPerPixel, h = picture.height * kPointsPerPixel;
    const double left = placed[i].x_twips * kPointsPerTwip;
    const double bottom = height - placed[i].y_twips * kPointsPerTwip - h;
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
  pdf.Object(page, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + std::to_string(width) + " " +
                       std::to_string(height) + "] /Resources << /XObject << " + images +
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

void SendPdf(const std::string& pdf) {
  // The server is looked up afresh for every job, so that one started after us is found.
  // Our own connection makes a missing server known within the connect timeout.
  cupsSetServer(nullptr);
  std::unique_ptr<http_t, HttpCloser> http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC,
                                                        cupsEncryption(), 1, kConnectMilliseconds,
                                                        nullptr));
  if (!http) throw RuntimeError("no print server at " + std::string(cupsServer()));
  httpSetTimeout(http.get(), kTransferSeconds, nullptr, nullptr);
  std::unique_ptr<cups_dest_t, DestFree> dest(cupsGetNamedDest(http.get(), nullptr, nullptr));
  if (!dest) throw RuntimeError("no default printer");

  const int job = cupsCreateJob(http.get(), dest->name, "Colouring page", 0, nullptr);
  if (job == 0) throw RuntimeError(std::string("printing refused: ") + cupsLastErrorString());
  const bool sent =
      cupsStartDocument(http.get(), dest->name, job, "colouring-page.pdf", CUPS_FORMAT_PDF, 1) ==
          HTTP_STATUS_CONTINUE &&
      cupsWriteRequestData(http.get(), pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE;
  if (cupsFinishDocument(http.get(), dest->name) != IPP_STATUS_OK || !sent) {
    const std::string why = cupsLastErrorString();
    cupsCancelJob2(http.get(), dest->name, job, 0);
    throw RuntimeError("printing failed: " + why);
  }
}

}  // namespace

void PrinterDevice::EndDoc() {
  if (page_.empty()) return;
  // The document ends here whether or not it reaches a printer: a failed page must not
  // come out again under the next one.
  const std::vector<Placed> page = std::move(page_);
  page_.clear();
  SendPdf(PagePdf(page, orientation_ == vbPRORLandscape));
}

}  // namespace platform
