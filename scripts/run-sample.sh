#!/bin/sh
# The main job without a window: clones a generated sample tree from one folder into
# another with varno-cli, showing the progress, then prints the report it left.
#
# Usage: sh scripts/run-sample.sh [build dir]
set -eu

BUILD_DIR=${1:-build}
VARNO_CLI="$BUILD_DIR/Varno.app/Contents/MacOS/varno-cli"
SAMPLE="$BUILD_DIR/sample"
SOURCE="$SAMPLE/source"
DESTINATION="$SAMPLE/destination"

rm -rf "$SAMPLE"
mkdir -p "$DESTINATION"
folder=0
while [ "$folder" -lt 20 ]; do
    mkdir -p "$SOURCE/Folder $folder/Inner"
    file=0
    while [ "$file" -lt 100 ]; do
        head -c $(( (folder * 100 + file) * 97 % 65536 + 1 )) /dev/urandom > "$SOURCE/Folder $folder/File $file.dat"
        file=$((file + 1))
    done
    echo "Notes of folder $folder" > "$SOURCE/Folder $folder/Inner/notes.txt"
    folder=$((folder + 1))
done
head -c 64M /dev/urandom > "$SOURCE/Large file.bin"
ln -s "Large file.bin" "$SOURCE/Link to the large file"

echo "Cloning $SOURCE into $DESTINATION"
"$VARNO_CLI" clone "$SOURCE" "$DESTINATION"
echo
echo "The report file, as 'varno-cli report' shows it:"
"$VARNO_CLI" report "$DESTINATION/Varno Report"
