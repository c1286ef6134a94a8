#!/usr/bin/env bash
# Checks the built guide with poppler-utils: a page count in range, the text
# of the key sections (Cyrillic included, so the font carried it) and every
# picture of the source embedded.
#   check_manual.sh tv360_player.pdf manual.md
set -euo pipefail
pdf=$1
source=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
[[ -s $pdf ]] || fail "$pdf is missing or empty"

pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
((pages >= 10 && pages <= 30)) || fail "$pages pages, expected 10 to 30"

text=$(pdftotext -layout "$pdf" -)
for heading in "руководство пользователя" "Тур шаг за шагом" "Выбрать слот и направление" \
  "«Добавить HS»" "Иконка точки" "Опции плеера" "Проект: сохранить и загрузить" \
  "Опубликовать видео для Web" "quillmark serve" "Командная строка"; do
  grep -qF -- "$heading" <<<"$text" || fail "no \"$heading\" in the text"
done

pictures=$(grep -o '!\[[^]]*\]([^)]*)' "$source" | wc -l)
embedded=$(pdfimages -list "$pdf" | tail -n +3 | awk '{print $11}' | sort -u | wc -l)
((pictures > 0 && embedded >= pictures)) || fail "$embedded pictures embedded, the source has $pictures"
echo "ok: $pages pages, $embedded pictures"
