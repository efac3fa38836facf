# Sourced by the scripts that read or write pictures: ImageMagick 7 is called
# as "magick", older ones (Debian 12's) as "convert" and "import".
if command -v magick >/dev/null 2>&1; then
    im() { magick "$@"; }
    im_import() { magick import "$@"; }
else
    im() { convert "$@"; }
    im_import() { import "$@"; }
fi
