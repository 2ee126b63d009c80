#!/bin/bash
# Redraws the program's pictures: the icons, the banner in the light and the dark look, the colour
# scale, and the README's picture of the tray icon on a light and a dark taskbar.
# Needs bash, ImageMagick 6 (`convert`) and the DejaVu fonts
# (Debian: apt-get install imagemagick fonts-dejavu-core).
# Usage: tools/draw_resources.sh   (writes into src/resources/)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out="$repo/src/resources"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

command -v convert >/dev/null || { echo "draw_resources.sh: ImageMagick's convert is missing" >&2; exit 1; }
title_font=DejaVu-Sans-Bold
tagline_font=DejaVu-Sans-Oblique
letter_font=DejaVu-Sans-Bold
for font in "$title_font" "$tagline_font" "$letter_font"; do
  convert -list font | grep "Font: $font$" >/dev/null || { echo "draw_resources.sh: font $font is missing" >&2; exit 1; }
done

# Every picture is drawn on a 256-pixel canvas and scaled down, which gives clean
# anti-aliased edges at every icon size.
S=256
heart_path="M 128,232 C 52,178 12,136 12,86 C 12,46 42,20 78,20 C 100,20 118,32 128,52 C 138,32 156,20 178,20 C 214,20 244,46 244,86 C 244,136 204,178 128,232 Z"

# mask W H MVG OUT: white shape on black, for CopyOpacity.
mask() {
  convert -size "$1x$2" xc:black -fill white -stroke none -draw "$3" "$4"
}

# filled W H MVG GRADIENT OUT: the shape filled with a gradient image spec.
filled() {
  mask "$1" "$2" "$3" "$work/m.png"
  convert -size "$1x$2" "$4" "$work/m.png" -alpha off -compose CopyOpacity -composite "$5"
}

# outlined W H MVG COLOUR WIDTH OUT: the shape grown by WIDTH/2 in one colour,
# laid under the fill so that overlapping parts keep a single outline.
outlined() {
  convert -size "$1x$2" xc:none -fill "$4" -stroke "$4" -strokewidth "$5" -draw "$3" "$6"
}

# glow W H OUT: a soft yellow halo that fades out before the canvas edge.
glow() {
  local w=$1 h=$2 sigma
  sigma=$(( (w < h ? w : h) * 45 / 1000 ))
  convert -size "${w}x${h}" xc:black -fill white \
    -draw "ellipse $((w / 2)),$((h / 2)) $((w * 40 / 100)),$((h * 40 / 100)) 0,360" \
    -blur "0x$sigma" "$work/glow_mask.png"
  convert -size "${w}x${h}" xc:'#FFE23A' "$work/glow_mask.png" -alpha off -compose CopyOpacity -composite "$3"
}

# heart OUT [OUTLINE]: the red heart with its outline (dark red by default) and shine, on a
# transparent 256 canvas.
heart() {
  outlined $S $S "path '$heart_path'" "${2:-#6E0A12}" 14 "$work/h_line.png"
  filled $S $S "path '$heart_path'" "radial-gradient:#FF7A7E-#C8101E" "$work/h_fill.png"
  convert -size ${S}x${S} xc:none -fill 'rgba(255,255,255,0.55)' \
    -draw "rotate -35 ellipse 0,120 26,14 0,360" -blur 0x3 "$work/h_shine.png"
  convert "$work/h_line.png" "$work/h_fill.png" -composite \
    "$work/h_shine.png" -composite "$1"
}

# heart_on_glow W H OUT [OUTLINE]: heart centred on a yellow glow, canvas W x H (256 scale).
heart_on_glow() {
  local w=$1 h=$2 side
  side=$(( (w < h ? w : h) * 74 / 100 ))
  glow "$w" "$h" "$work/g.png"
  heart "$work/h.png" "${4:-}"
  convert "$work/g.png" \( "$work/h.png" -resize "${side}x${side}" \) \
    -gravity center -composite "$3"
}

# shrink IN SIZE OUT
shrink() {
  convert "$1" -filter Catrom -resize "${2}x${2}" "$3"
}

# Every icon holds these sizes: the small and large icon sizes at 100 % to 200 % display scaling,
# and 256 for Explorer's largest views, so that Windows never has to stretch a picture.
icon_sizes=(16 20 24 32 40 48 64 256)

# Pictures from this size on are stored as PNG, which Windows reads in icons since Vista, at a
# fraction of a bitmap's size; the smaller ones, which the tray and the small icons use at 100 %
# scaling, stay bitmaps that need no decoding.
png_from_size=48

# le16 N / le32 N: N as little-endian bytes, for the icon directory.
le16() { printf "$(printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }

# pack_ico OUT PICTURE...: an icon file from one picture per size, in the order of icon_sizes.
pack_ico() {
  local out=$1
  shift
  local count=$# offset i size entry
  offset=$((6 + 16 * count))
  : >"$work/directory"
  : >"$work/images"
  for ((i = 0; i < count; i++)); do
    size=${icon_sizes[i]}
    entry="$work/entry$i"
    if ((size >= png_from_size)); then
      # Windows reads only 8-bit channels in an icon's PNG; -strip leaves out the dates, so that a
      # redraw of the same pictures gives the same file.
      convert "${@:i+1:1}" -depth 8 -strip -define png:compression-level=9 "PNG32:$entry"
    else
      # The bitmap as ImageMagick stores it in a one-picture icon, after its 22-byte directory.
      convert "${@:i+1:1}" "$work/one.ico"
      tail -c +23 "$work/one.ico" >"$entry"
    fi
    local bytes
    bytes=$(stat -c %s "$entry")
    # Width and height (0 for 256), no palette, a reserved byte, one plane, 32 bits a pixel.
    { printf "$(printf '\\x%02x\\x%02x' $((size & 255)) $((size & 255)))\0\0"; le16 1; le16 32; le32 "$bytes"; le32 "$offset"; } >>"$work/directory"
    cat "$entry" >>"$work/images"
    offset=$((offset + bytes))
  done
  { le16 0; le16 1; le16 "$count"; cat "$work/directory" "$work/images"; } >"$out"
}

# The sizes of an icon only ever shown small, in the tray or a dialog: no 256-pixel picture.
small_icon_sizes=("${icon_sizes[@]:0:${#icon_sizes[@]}-1}")

# ico PICTURE OUT [small]: an icon file with the 256-pixel picture at every size of icon_sizes, or
# of small_icon_sizes.
ico() {
  local size pictures=() sizes=("${icon_sizes[@]}")
  [ "${3:-}" = small ] && sizes=("${small_icon_sizes[@]}")
  for size in "${sizes[@]}"; do
    shrink "$1" "$size" "$work/ico$size.png"
    pictures+=("$work/ico$size.png")
  done
  pack_ico "$2" "${pictures[@]}"
}

# ---- application icon (128): heart on a yellow glow
heart_on_glow $S $S "$work/app.png"
ico "$work/app.png" "$out/app.ico"

# ---- tray icons: heart above a bar whose right-hand n eighths are red
# The bar is drawn at the final size so the eighths fall on whole pixels. A light taskbar takes
# the pictures with a dark outline and frame, a dark taskbar the same with light ones.
heart_on_glow $S 192 "$work/tray_heart_light.png"
heart_on_glow $S 192 "$work/tray_heart_dark.png" '#FFF4F4'
tray_picture() { # SIZE N OUT TASKBAR
  local size=$1 n=$2 top x end colour light frame=#202020
  [ "$4" = dark ] && frame=#F0F0F0
  top=$(( size * 3 / 4 ))
  convert "$work/tray_heart_$4.png" -filter Catrom -resize "${size}x${top}!" "$work/th.png"
  local draw=""
  for i in 0 1 2 3 4 5 6 7; do
    # Sizes that are not a multiple of eight get eighths one pixel apart in width.
    x=$(( i * size / 8 ))
    end=$(( (i + 1) * size / 8 - 1 ))
    if (( i >= 8 - n )); then colour='#E01818'; light='#FF7070'; else colour='#1FA82A'; light='#7EE07E'; fi
    draw+=" fill $colour rectangle $x,$((top + 1)) $end,$((size - 2))"
    draw+=" fill $light rectangle $x,$((top + 1)) $end,$((top + 1))"
    if (( size >= 32 && i > 0 )); then
      draw+=" fill rgba(0,0,0,0.35) rectangle $x,$((top + 1)) $x,$((size - 2))"
    fi
  done
  convert -size "${size}x${size}" xc:none "$work/th.png" -geometry +0+0 -composite \
    -stroke none -fill "$frame" -draw "rectangle 0,$top $((size - 1)),$top" \
    -draw "rectangle 0,$((size - 1)) $((size - 1)),$((size - 1))" \
    -draw "$draw" "$3"
}
for taskbar in light dark; do
  prefix=tray
  [ $taskbar = dark ] && prefix=tray_dark
  for n in 0 1 2 3 4 5 6 7 8; do
    pictures=()
    for size in "${small_icon_sizes[@]}"; do
      tray_picture "$size" "$n" "$work/tray$size.png" $taskbar
      pictures+=("$work/tray$size.png")
    done
    pack_ico "$out/$prefix$n.ico" "${pictures[@]}"
  done
done

# ---- stopwatch (148)
sw_face_ticks=""
for a in 0 30 60 90 120 150 180 210 240 270 300 330; do
  len=62; (( a % 90 == 0 )) && len=54
  sw_face_ticks+=" push graphic-context translate 128,150 rotate $a line 0,-76 0,-$len pop graphic-context"
done
convert -size ${S}x${S} xc:none -fill '#9AA4AE' -stroke '#3A4048' -strokewidth 8 \
  -draw "roundrectangle 104,10 152,34 8,8 rectangle 118,32 138,56" \
  -draw "push graphic-context translate 198,74 rotate 45 roundrectangle -18,-11 18,11 4,4 pop graphic-context" \
  "$work/sw_top.png"
outlined $S $S "circle 128,150 128,46" '#3A4048' 14 "$work/sw_line2.png"
filled $S $S "circle 128,150 128,46" "radial-gradient:#F4F7FA-#7E8994" "$work/sw_body.png"
filled $S $S "circle 128,150 128,68" "radial-gradient:#FFFFFF-#E2E8EE" "$work/sw_face.png"
convert -size ${S}x${S} xc:none -stroke '#2A2F35' -strokewidth 8 -fill none -draw "$sw_face_ticks" \
  -stroke '#2A2F35' -strokewidth 12 -draw "line 128,150 128,92" \
  -stroke '#D81E1E' -strokewidth 8 -draw "line 128,150 172,118" \
  -stroke none -fill '#2A2F35' -draw "circle 128,150 128,138" "$work/sw_hands.png"
convert "$work/sw_top.png" "$work/sw_line2.png" -composite "$work/sw_body.png" -composite \
  "$work/sw_face.png" -composite "$work/sw_hands.png" -composite "$work/stopwatch.png"
ico "$work/stopwatch.png" "$out/stopwatch.ico" small

# ---- red cross (149)
cross="roundrectangle 92,20 164,236 14,14 roundrectangle 20,92 236,164 14,14"
outlined $S $S "$cross" '#6E0A12' 16 "$work/c_line.png"
filled $S $S "$cross" "gradient:#FF5A5A-#B80C14" "$work/c_fill.png"
convert -size ${S}x${S} xc:none -fill 'rgba(255,255,255,0.45)' \
  -draw "roundrectangle 100,28 118,150 8,8" -blur 0x2 "$work/c_shine.png"
convert "$work/c_line.png" "$work/c_fill.png" -composite "$work/c_shine.png" -composite "$work/cross.png"
ico "$work/cross.png" "$out/red_cross.ico" small

# ---- sleeping face (151)
outlined $S $S "circle 112,144 112,40" '#8A5A00' 12 "$work/f_line.png"
filled $S $S "circle 112,144 112,40" "radial-gradient:#FFF07A-#F0B000" "$work/f_fill.png"
convert -size ${S}x${S} xc:none \
  -draw "fill none stroke #5A3200 stroke-width 10 stroke-linecap round path 'M 56,130 Q 76,152 96,130'" \
  -draw "fill none stroke #5A3200 stroke-width 10 stroke-linecap round path 'M 128,130 Q 148,152 168,130'" \
  -stroke none -fill '#7A3C00' -draw "ellipse 112,192 16,12 0,360" \
  -font "$letter_font" -stroke white -strokewidth 6 -fill '#2F6FD6' \
  -pointsize 86 -draw "text 168,104 'Z'" -pointsize 56 -draw "text 210,46 'z'" \
  -stroke none -pointsize 86 -draw "text 168,104 'Z'" -pointsize 56 -draw "text 210,46 'z'" \
  "$work/f_marks.png"
convert "$work/f_line.png" "$work/f_fill.png" -composite "$work/f_marks.png" -composite "$work/face.png"
ico "$work/face.png" "$out/sleeping_face.ico" small

# ---- loudspeaker (165)
speaker="path 'M 14,92 L 72,92 L 140,30 L 140,226 L 72,164 L 14,164 Z'"
outlined $S $S "$speaker" '#2A2F35' 14 "$work/l_line.png"
filled $S $S "$speaker" "gradient:#C8D0D8-#5E6873" "$work/l_fill.png"
convert -size ${S}x${S} xc:none \
  -draw "fill none stroke #2F6FD6 stroke-width 18 stroke-linecap round path 'M 178,94 A 44,44 0 0,1 178,162'" \
  -draw "fill none stroke #2F6FD6 stroke-width 18 stroke-linecap round path 'M 201,67 A 80,80 0 0,1 201,189'" \
  -draw "fill none stroke #2A2F35 stroke-width 6 line 72,92 72,164" "$work/l_waves.png"
convert "$work/l_line.png" "$work/l_fill.png" -composite "$work/l_waves.png" -composite "$work/speaker.png"
ico "$work/speaker.png" "$out/loudspeaker.ico" small

# ---- information (183): blue disc with a white "i"
outlined $S $S "circle 128,128 128,12" '#0A3A8A' 12 "$work/i_line.png"
filled $S $S "circle 128,128 128,12" "radial-gradient:#7AB6FF-#1550C0" "$work/i_fill.png"
convert -size ${S}x${S} xc:none -fill white -stroke none \
  -draw "circle 128,66 128,44" -draw "roundrectangle 108,98 148,208 10,10" \
  -draw "roundrectangle 90,98 148,120 6,6" -draw "roundrectangle 90,188 166,208 6,6" "$work/i_mark.png"
convert "$work/i_line.png" "$work/i_fill.png" -composite "$work/i_mark.png" -composite "$work/info.png"
ico "$work/info.png" "$out/information.ico" small

# ---- banner (152), and its dark version (153) for the dark look: 351 x 88, a night-blue band with
# the heart, the name and the tagline; the dark one's night is deeper, to sit on a dark window.
# Drawn at twice the size and scaled down for smooth text and shapes.
BW=702; BH=176
stars=""
for s in "430,30,2" "470,70,1" "520,22,2" "548,92,1" "590,48,3" "612,128,1" "650,86,2" "500,140,1" \
         "560,150,2" "676,24,1" "456,112,2" "630,18,1" "400,150,1" "686,140,2"; do
  IFS=, read -r sx sy sr <<<"$s"
  stars+=" circle $sx,$sy $((sx + sr)),$sy"
done
convert -size ${BW}x${BH} xc:none -fill 'rgba(255,255,255,0.85)' -draw "$stars" -blur 0x0.6 "$work/b_stars.png"
convert -size ${BW}x${BH} xc:none -fill '#FFF2B0' -draw "circle 624,60 624,28" \
  \( -size ${BW}x${BH} xc:none -fill black -draw "circle 640,50 640,20" \) -compose DstOut -composite \
  \( +clone -channel A -blur 0x6 +channel -fill '#FFF2B0' -colorize 100 \) +swap -compose Over -composite \
  "$work/b_moon.png"
glow 176 176 "$work/b_glow.png"
heart "$work/b_heart.png"
# The colour line along the bottom echoes the tray bar: green through yellow to red.
convert \( -size 3x176 gradient:'#F5D000'-'#1FA82A' -rotate 90 \) \
        \( -size 3x175 gradient:'#E01818'-'#F5D000' -rotate 90 \) +append "$work/b_line.png"
# banner GRADIENT OUT
banner() {
  convert -size ${BW}x${BH} gradient:"$1" "$work/b_bg.png"
  convert "$work/b_bg.png" "$work/b_stars.png" -composite "$work/b_moon.png" -composite \
    \( "$work/b_glow.png" \) -geometry +4+0 -composite \
    \( "$work/b_heart.png" -resize 118x118 \) -geometry +33+26 -composite \
    -font "$title_font" -pointsize 84 \
    -fill 'rgba(0,0,0,0.35)' -draw "text 184,104 'Kelvaro'" \
    -fill white -draw "text 180,100 'Kelvaro'" \
    -font "$tagline_font" -pointsize 25 -fill '#FFE7A0' -draw "text 184,142 'Your health and sleep supervisor'" \
    "$work/b_big.png"
  convert "$work/b_big.png" -filter Catrom -resize 351x88\! \
    "$work/b_line.png" -geometry +0+85 -composite \
    -alpha off -type TrueColor BMP3:"$2"
}
banner '#14304F-#2A6A9E' "$out/banner.bmp"
banner '#060E18-#15304A' "$out/banner-dark.bmp"

# ---- colour scale (172): 150 x 18, green -> yellow -> red with a tick per hour (0 to 8 h)
convert \( -size 18x75 gradient:'#F5D000'-'#1FA82A' -rotate 90 \) \
        \( -size 18x75 gradient:'#E01818'-'#F5D000' -rotate 90 \) +append "$work/scale.png"
ticks=""
for h in 1 2 3 4 5 6 7; do
  x=$(( h * 150 / 8 ))
  if (( h % 2 == 0 )); then ticks+=" rectangle $x,9 $x,17"; else ticks+=" rectangle $x,13 $x,17"; fi
done
convert "$work/scale.png" -stroke none -fill 'rgba(255,255,255,0.35)' -draw "rectangle 0,1 149,4" \
  -fill '#303030' -draw "$ticks" -fill none -stroke '#303030' -strokewidth 1 -draw "rectangle 0,0 149,17" \
  -alpha off -type TrueColor BMP3:"$out/scale.bmp"

# ---- the README's picture (docs/tray-icons.png): four steps of the bar, at 150 % scaling's small
# icon size, on Windows 11's light taskbar in the pictures for it, then on its dark one.
tray_strip() { # TASKBAR_COLOUR PREFIX OUT
  local args=() n
  for n in 0 3 6 8; do
    args+=(\( -size 40x40 "xc:$1" \( "$out/$2$n.ico[2]" \) -gravity center -composite \))
  done
  convert "${args[@]}" +append "$3"
}
tray_strip '#F3F3F3' tray "$work/strip_light.png"
tray_strip '#202020' tray_dark "$work/strip_dark.png"
convert "$work/strip_light.png" "$work/strip_dark.png" +append -depth 8 -strip "$repo/docs/tray-icons.png"

echo "drawn into $out and $repo/docs/tray-icons.png"
