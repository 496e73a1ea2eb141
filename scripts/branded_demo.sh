#!/usr/bin/env bash
# Lays out the branding of a program folder, as a reseller would: a dbconfig.dat naming the caption,
# an affiliate identifier, two banners (an animated GIF and a PNG) with their addresses, three footer links
# and an icon, and the bundled Graphite skin as dbskin.dat (run.sh adds the stand-in services' dbservices.dat).
#   branded_demo.sh <build folder> <demo folder> <stand-in port>
# The pictures are made with ImageMagick (convert-im6.q16, installed by setup.sh).
set -euo pipefail
build=$1
demo=$2
port=$3
font=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
im=convert-im6.q16

mkdir -p "$demo"
cp "$build/skins/graphite/dbskin.dat" "$demo/dbskin.dat"

# Banner 1, stored as dbimg1.dat: a 468 x 60 animated GIF, a light sweeping across the offer.
frames=()
for i in $(seq 0 11); do
  x=$((i * 44 - 40))
  frames+=("(" -size 468x60 gradient:'#1f2329-#3a3f48' -fill '#f0a43a' -draw "rectangle $x,0 $((x + 36)),59"
           -font "$font" -pointsize 22 -fill white -annotate +18+38 "Rank higher with Keyword Finder Pro" ")")
done
$im -delay 12 "${frames[@]}" -loop 0 -layers optimize "gif:$demo/dbimg1.dat"

# Banner 2, stored as dbimg2.dat: a still PNG.
$im -size 468x60 gradient:'#f0a43a-#c9801e' -font "$font" -pointsize 24 -fill '#1f2329' \
    -annotate +20+39 "Free keyword course - sign up today" "png:$demo/dbimg2.dat"

# The icon, from the program's own rendered sizes tinted amber.
$im "$build/packaging/icons/16x16/org.dorvanel.Dorvanel.png" "$build/packaging/icons/32x32/org.dorvanel.Dorvanel.png" \
    "$build/packaging/icons/48x48/org.dorvanel.Dorvanel.png" -modulate 100,100,40 "ico:$demo/finder.ico"

cat > "$demo/dbconfig.dat" <<INI
; A reseller's branding: every file it names lies beside the program.
[Settings]
AppName=Keyword Finder Pro
AfiliateID=12345
BannerPath1=C:\\banners\\sweep.gif
BannerURL1=http://127.0.0.1:$port/likes/QOLVA12345
BannerPath2=C:\\banners\\course.png
BannerURL2=http://127.0.0.1:$port/course
Link1URL=http://127.0.0.1:$port/support
Link1Name=Support
Link2URL=http://127.0.0.1:$port/tutorials
Link2Name=Tutorials
Link3URL=http://127.0.0.1:$port/blog
Link3Name=Keyword blog
IconPath=finder.ico
INI

