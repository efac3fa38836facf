#include "capture/capture_image.h"
#include "capture/capture_options.h"

// The help is a wrapped paragraph, so it names the limits as text; these
// hold it to them.
static_assert(kMaxSourcePixels == 268435456, "the help below names the limit");
static_assert(kMaxCaptureWidth == 1280 && kMaxCaptureHeight == 1024,
              "the help below names the largest frame");
static_assert(kDefaultPatternWidth == 640 && kDefaultPatternHeight == 480,
              "the help below names the pattern's default size");

const char kCaptureUsage[] =
    "Usage: oxcapture [OPTION]... [PICTURE]\n"
    "Writes one frame to the raw frame file in the Temp folder under the Windows\n"
    "directory, then starts oxview.exe from this program's folder to show it.\n"
    "\n"
    "The frame comes from one source at most:\n"
    "  PICTURE           a picture file: PNG, JPEG, GIF, TIFF, BMP or ICO, named by\n"
    "                    its signature; any other is refused\n"
    "  --screen          the primary screen\n"
    "  --region X,Y,WxH  a rectangle of the desktop: left, top, width, height\n"
    "  --window TITLE    the on-screen rectangle of the top-level window with\n"
    "                    that caption\n"
    "and is the built-in test pattern when none is given. The screen is captured\n"
    "before the viewer starts. Transparency is dropped: each pixel keeps its\n"
    "colour as if it were opaque. A frame holds at most 1280x1024 pixels; a\n"
    "picture or capture of more than 268435456 pixels (16384x16384) is refused,\n"
    "with --fit or without, as is a file with any page that large. Only the page\n"
    "asked for is decoded; it may take several times its pixels in memory.\n"
    "\n"
    "  --page N         which page of a picture with several (GIF, TIFF, ICO), from\n"
    "                   1; a GIF page as stored, not drawn over the pages before it\n"
    "  --fit            scale a picture or capture larger than 1280x1024 down to\n"
    "                   the largest size that fits, keeping its aspect ratio\n"
    "                   (without it, such a source is refused)\n"
    "  --delay SECONDS  wait before capturing the screen, such as 3 or 0.5\n"
    "  --size WxH       size of the test pattern (default 640x480, at most\n"
    "                   1280x1024)\n"
    "  --no-wait        return as soon as the viewer has started\n"
    "  --write-only     write the raw frame file only; do not start the viewer\n"
    "  -h, --help, /?   show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Exit status: the viewer's exit code when waiting for it; otherwise 0 on\n"
    "success, 1 on an error (a picture that cannot be read, is damaged or too\n"
    "large, or a frame that cannot be written), 2 on a bad command line.\n";

// The project's version, given by the build; one place for both programs.
const char kCaptureVersion[] = "oxcapture " OXVIEW_VERSION "\n";
