<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>App</name>
    <message>
        <source>Usage: tessel [options] [FOLDER]

Opens the Tessel dialog, which converts a DWIN project folder (DWIN_SET) into the
KOVA_TFT SD-card layout. FOLDER (or a file inside it) is the source the dialog
starts with.

Options:
  -h, --help     Show this text.
  -V, --version  Show the version.
  --lang &lt;LANG&gt;  The language of the dialogs: zh or en (default: the system&apos;s).

Qt&apos;s own options (-platform NAME, for example) are accepted as well.
</source>
        <translation>Usage: tessel [options] [FOLDER]

Opens the Tessel dialog, which converts a DWIN project folder (DWIN_SET) into the
KOVA_TFT SD-card layout. FOLDER (or a file inside it) is the source the dialog
starts with.

Options:
  -h, --help     Show this text.
  -V, --version  Show the version.
  --lang &lt;LANG&gt;  The language of the dialogs: zh or en (default: the system&apos;s).

Qt&apos;s own options (-platform NAME, for example) are accepted as well.
</translation>
    </message>
</context>
<context>
    <name>Card</name>
    <message>
        <source>the copy was stopped; the card&apos;s private folder is as it was</source>
        <translation>the copy was stopped; the card&apos;s private folder is as it was</translation>
    </message>
    <message>
        <source>%1 holds no complete output (a private folder beside the marker file); convert a project into it first</source>
        <translation>%1 holds no complete output (a private folder beside the marker file); convert a project into it first</translation>
    </message>
    <message>
        <source>cannot use %1 as the card: %2</source>
        <translation>cannot use %1 as the card: %2</translation>
    </message>
    <message>
        <source>cannot use %1 as the card: it is not a folder</source>
        <translation>cannot use %1 as the card: it is not a folder</translation>
    </message>
    <message>
        <source>cannot use %1 as the card: the output %2 lies there</source>
        <translation>cannot use %1 as the card: the output %2 lies there</translation>
    </message>
    <message>
        <source>%1 holds %2, which no run writes; nothing was written</source>
        <translation>%1 holds %2, which no run writes; nothing was written</translation>
    </message>
    <message>
        <source>%1 has no room for the output: it needs %2 MB, %3 MB are free; nothing was written</source>
        <translation>%1 has no room for the output: it needs %2 MB, %3 MB are free; nothing was written</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>cannot create %1: %2</translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation>cannot read %1</translation>
    </message>
    <message>
        <source>cannot flush %1 to the card: %2</source>
        <translation>cannot flush %1 to the card: %2</translation>
    </message>
    <message>
        <source>cannot read back %1: %2</source>
        <translation>cannot read back %1: %2</translation>
    </message>
    <message>
        <source>%1 on the card is not the output&apos;s %2: %3 bytes instead of %4</source>
        <translation>%1 on the card is not the output&apos;s %2: %3 bytes instead of %4</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1 on the card is not the output&apos;s %2: its content differs</source>
        <translation>%1 on the card is not the output&apos;s %2: its content differs</translation>
    </message>
    <message>
        <source>cannot remove %1: %2</source>
        <translation>cannot remove %1: %2</translation>
    </message>
    <message>
        <source>cannot rename %1: %2</source>
        <translation>cannot rename %1: %2</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>picture</source>
        <translation>picture</translation>
    </message>
    <message>
        <source>icon library</source>
        <translation>icon library</translation>
    </message>
    <message>
        <source>sound</source>
        <translation>sound</translation>
    </message>
    <message>
        <source>table</source>
        <translation>table</translation>
    </message>
    <message>
        <source>register text</source>
        <translation>register text</translation>
    </message>
    <message>
        <source>block file</source>
        <translation>block file</translation>
    </message>
    <message>
        <source>other</source>
        <translation>other</translation>
    </message>
    <message>
        <source>not handled</source>
        <translation>not handled</translation>
    </message>
    <message>
        <source>converted</source>
        <translation>converted</translation>
    </message>
    <message>
        <source>copied</source>
        <translation>copied</translation>
    </message>
    <message>
        <source>read</source>
        <translation>read</translation>
    </message>
    <message>
        <source>replaced</source>
        <translation>replaced</translation>
    </message>
    <message>
        <source>ignored</source>
        <translation>ignored</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>skipped</translation>
    </message>
    <message>
        <source>%1: %2, %3</source>
        <extracomment>--verbose: an input&apos;s name, its kind and what became of it</extracomment>
        <translation>%1: %2, %3</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <extracomment>--verbose: an input&apos;s line, and why it was skipped, ignored or replaced</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>out of memory: the run stopped, its output is incomplete</source>
        <translation>out of memory: the run stopped, its output is incomplete</translation>
    </message>
    <message>
        <source>the run stopped (%1), its output is incomplete</source>
        <translation>the run stopped (%1), its output is incomplete</translation>
    </message>
    <message>
        <source>Branch A because %1</source>
        <translation>Branch A because %1</translation>
    </message>
    <message>
        <source>Branch B because %1</source>
        <translation>Branch B because %1</translation>
    </message>
    <message>
        <source>Output: %1</source>
        <translation>Output: %1</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>warning: %1</translation>
    </message>
    <message>
        <source>converting %1/%2</source>
        <translation>converting %1/%2</translation>
    </message>
    <message>
        <source>Device parameters read from the source:</source>
        <translation>Device parameters read from the source:</translation>
    </message>
    <message>
        <source>Confirm? [y/N] </source>
        <extracomment>the answer is y or yes, as typed in English</extracomment>
        <translation>Confirm? [y/N] </translation>
    </message>
    <message>
        <source>Output root (default: Documents/TESSEL); the run writes DIR/private/ and the marker file in DIR.</source>
        <translation>Output root (default: Documents/TESSEL); the run writes DIR/private/ and the marker file in DIR.</translation>
    </message>
    <message>
        <source>Picture rotation, clockwise: %1 (default auto).</source>
        <translation>Picture rotation, clockwise: %1 (default auto).</translation>
    </message>
    <message>
        <source>Picture format: %1 (JPEG at quality 90 or 100, or lossless .zbmp; default zbmp).</source>
        <translation>Picture format: %1 (JPEG at quality 90 or 100, or lossless .zbmp; default zbmp).</translation>
    </message>
    <message>
        <source>TrueType font for the target: %1 (default cjk).</source>
        <translation>TrueType font for the target: %1 (default cjk).</translation>
    </message>
    <message>
        <source>Dither pictures to RGB565 before encoding (removes water ripples, compresses less).</source>
        <translation>Dither pictures to RGB565 before encoding (removes water ripples, compresses less).</translation>
    </message>
    <message>
        <source>Branch B: write the pictures as bin/image.idx + bin/image.bin.</source>
        <translation>Branch B: write the pictures as bin/image.idx + bin/image.bin.</translation>
    </message>
    <message>
        <source>Folder with the TrueType files and pinyin.bin (default: the program&apos;s own).</source>
        <translation>Folder with the TrueType files and pinyin.bin (default: the program&apos;s own).</translation>
    </message>
    <message>
        <source>Accept the device parameters of Branch B as read.</source>
        <translation>Accept the device parameters of Branch B as read.</translation>
    </message>
    <message>
        <source>Correct one device parameter (repeatable): baud=RATE touch-file=on|off coordinate-notify=0|1 touch-file-notify=0|1 long-press=on|off touch-beep=0|1|2 screen-rotation=0|90|180|270 restore-text-background=on|off delayed-refresh=on|off.</source>
        <translation>Correct one device parameter (repeatable): baud=RATE touch-file=on|off coordinate-notify=0|1 touch-file-notify=0|1 long-press=on|off touch-beep=0|1|2 screen-rotation=0|90|180|270 restore-text-background=on|off delayed-refresh=on|off.</translation>
    </message>
    <message>
        <source>Open the output folder at the end.</source>
        <translation>Open the output folder at the end.</translation>
    </message>
    <message>
        <source>Remove the output&apos;s private/ even when it holds files no run writes.</source>
        <translation>Remove the output&apos;s private/ even when it holds files no run writes.</translation>
    </message>
    <message>
        <source>Worker threads for pictures and icon libraries (default: the number of cores).</source>
        <translation>Worker threads for pictures and icon libraries (default: the number of cores).</translation>
    </message>
    <message>
        <source>Print errors only.</source>
        <translation>Print errors only.</translation>
    </message>
    <message>
        <source>Print the run report as one JSON document on standard output (the lines for people stay on standard error).</source>
        <translation>Print the run report as one JSON document on standard output (the lines for people stay on standard error).</translation>
    </message>
    <message>
        <source>Show this text.</source>
        <translation>Show this text.</translation>
    </message>
    <message>
        <source>The language of the messages: zh or en (default: the system&apos;s).</source>
        <translation>The language of the messages: zh or en (default: the system&apos;s).</translation>
    </message>
    <message>
        <source>The DWIN project folder.</source>
        <translation>The DWIN project folder.</translation>
    </message>
    <message>
        <source>--%1 takes %2, not &apos;%3&apos;</source>
        <translation>--%1 takes %2, not &apos;%3&apos;</translation>
    </message>
    <message>
        <source>convert needs the SOURCE folder</source>
        <translation>convert needs the SOURCE folder</translation>
    </message>
    <message>
        <source>too many arguments: %1</source>
        <translation>too many arguments: %1</translation>
    </message>
    <message>
        <source>note: %1</source>
        <translation>note: %1</translation>
    </message>
    <message>
        <source>Write DIR/index.html and its pictures (DIR/index_files/). DIR may not lie inside private/.</source>
        <translation>Write DIR/index.html and its pictures (DIR/index_files/). DIR may not lie inside private/.</translation>
    </message>
    <message>
        <source>Read everything, write nothing, print each problem.</source>
        <translation>Read everything, write nothing, print each problem.</translation>
    </message>
    <message>
        <source>Print the problems only.</source>
        <translation>Print the problems only.</translation>
    </message>
    <message>
        <source>The language of the messages: zh or en.</source>
        <translation>The language of the messages: zh or en.</translation>
    </message>
    <message>
        <source>The output root or its private folder.</source>
        <translation>The output root or its private folder.</translation>
    </message>
    <message>
        <source>Usage: %1</source>
        <translation>Usage: %1</translation>
    </message>
    <message>
        <source>inspect needs the PATH of an output</source>
        <translation>inspect needs the PATH of an output</translation>
    </message>
    <message>
        <source>inspect takes either -o DIR (write the page) or --check</source>
        <translation>inspect takes either -o DIR (write the page) or --check</translation>
    </message>
    <message>
        <source>the page folder %1 lies inside %2, which is copied to the SD card</source>
        <translation>the page folder %1 lies inside %2, which is copied to the SD card</translation>
    </message>
    <message>
        <source>Page: %1</source>
        <translation>Page: %1</translation>
    </message>
    <message>
        <source>device parameters not confirmed; %1 is as it was</source>
        <translation>device parameters not confirmed; %1 is as it was</translation>
    </message>
    <message>
        <source>stopped by %1; %2 is as it was</source>
        <translation>stopped by %1; %2 is as it was</translation>
    </message>
    <message>
        <source>the run was stopped; %1 is as it was</source>
        <translation>the run was stopped; %1 is as it was</translation>
    </message>
    <message>
        <source>the output could not be written; %1 is as it was</source>
        <translation>the output could not be written; %1 is as it was</translation>
    </message>
    <message>
        <source>Show the screens turned DEG degrees clockwise (0, 90, 180 or 270), instead of as config.txt turns the screen.</source>
        <translation>Show the screens turned DEG degrees clockwise (0, 90, 180 or 270), instead of as config.txt turns the screen.</translation>
    </message>
    <message>
        <source>The source folder (DWIN_SET) the output was made from, when no run record names it (an SD card&apos;s copy).</source>
        <translation>The source folder (DWIN_SET) the output was made from, when no run record names it (an SD card&apos;s copy).</translation>
    </message>
    <message>
        <source>Read and draw on N threads (default: one per core).</source>
        <translation>Read and draw on N threads (default: one per core).</translation>
    </message>
    <message>
        <source>replaced by the picture library</source>
        <translation>replaced by the picture library</translation>
    </message>
    <message>
        <source>not used by the display</source>
        <translation>not used by the display</translation>
    </message>
    <message>
        <source>Branch A: %1, %2 s</source>
        <translation>Branch A: %1, %2 s</translation>
    </message>
    <message>
        <source>Branch B: %1, %2 s</source>
        <translation>Branch B: %1, %2 s</translation>
    </message>
    <message>
        <source>see tessel-cli help</source>
        <translation>see tessel-cli help</translation>
    </message>
    <message>
        <source>see tessel-cli %1 --help</source>
        <translation>see tessel-cli %1 --help</translation>
    </message>
    <message>
        <source>convert a DWIN project folder (DWIN_SET) into the SD-card layout</source>
        <translation>convert a DWIN project folder (DWIN_SET) into the SD-card layout</translation>
    </message>
    <message>
        <source>show (-o DIR) or check (--check) a converted output</source>
        <translation>show (-o DIR) or check (--check) a converted output</translation>
    </message>
    <message>
        <source>show this text, or the options of a command</source>
        <translation>show this text, or the options of a command</translation>
    </message>
    <message>
        <source>Show the version.</source>
        <translation>Show the version.</translation>
    </message>
    <message>
        <source>Converts DWIN display projects for KOVA_TFT displays.</source>
        <translation>Converts DWIN display projects for KOVA_TFT displays.</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>Commands:</translation>
    </message>
    <message>
        <source>tessel-cli help COMMAND (or tessel-cli COMMAND --help) shows the options of a command.</source>
        <translation>tessel-cli help COMMAND (or tessel-cli COMMAND --help) shows the options of a command.</translation>
    </message>
    <message>
        <source>Font display: %1 (default vector). vector: the display draws all text from the TrueType outlines, smoothed. bitmap: it draws small text with pixel glyphs, sharp and without smoothing, and large text as before; config.txt gets the font-mode line RFC=18 (no effect when config.txt is a copy of the source&apos;s register text).</source>
        <translation>Font display: %1 (default vector). vector: the display draws all text from the TrueType outlines, smoothed. bitmap: it draws small text with pixel glyphs, sharp and without smoothing, and large text as before; config.txt gets the font-mode line RFC=18 (no effect when config.txt is a copy of the source&apos;s register text).</translation>
    </message>
    <message>
        <source>Print a line per input and what became of it, and a line per output it made.</source>
        <translation>Print a line per input and what became of it, and a line per output it made.</translation>
    </message>
    <message>
        <source>Converts a DWIN project folder (DWIN_SET) into the KOVA_TFT SD-card layout.

Exit status: 0 done, 1 refused, 2 usage error, 3 parameters not confirmed, 4 the output is incomplete (some output could not be written).</source>
        <translation>Converts a DWIN project folder (DWIN_SET) into the KOVA_TFT SD-card layout.

Exit status: 0 done, 1 refused, 2 usage error, 3 parameters not confirmed, 4 the output is incomplete (some output could not be written).</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 takes no value</translation>
    </message>
    <message>
        <source>help takes one of the commands, not &apos;%1&apos;</source>
        <translation>help takes one of the commands, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos; before the command</source>
        <translation>unknown option &apos;%1&apos; before the command</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>unknown command &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>Arguments:</translation>
    </message>
    <message>
        <source>Reads a Tessel output (the output root or its private folder, an SD card&apos;s copy too) and writes a page that shows what the display will show, or only checks it.

Exit status: 0 no problems found, 5 a fault (one line per problem; an output root that a run did not finish is one), 1 the page folder lies inside private/, 2 usage error, 4 the page could not be written.</source>
        <translation>Reads a Tessel output (the output root or its private folder, an SD card&apos;s copy too) and writes a page that shows what the display will show, or only checks it.

Exit status: 0 no problems found, 5 a fault (one line per problem; an output root that a run did not finish is one), 1 the page folder lies inside private/, 2 usage error, 4 the page could not be written.</translation>
    </message>
    <message>
        <source>%1, %2 (%3)</source>
        <translation>%1, %2 (%3)</translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s)</source>
        <translation>
            <numerusform>%n picture</numerusform>
            <numerusform>%n pictures</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n icon librar(y/ies)</source>
        <translation>
            <numerusform>%n icon library</numerusform>
            <numerusform>%n icon libraries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n icon(s)</source>
        <translation>
            <numerusform>%n icon</numerusform>
            <numerusform>%n icons</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: no problems found</source>
        <translation>%1: no problems found</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n fault(s)</source>
        <translation>
            <numerusform>%n fault</numerusform>
            <numerusform>%n faults</numerusform>
        </translation>
    </message>
    <message>
        <source>Copies an output (private/ and the marker file) to the root of an SD card: into a
staging folder first, flushed to the card, read back and compared with the output,
and only then in place of the card&apos;s previous private/, which stays otherwise.

Exit status: 0 every file was verified, 1 refused (no room, files no run writes,
not a folder; nothing was written), 2 usage error, 4 a write or the read-back failed.</source>
        <translation>Copies an output (private/ and the marker file) to the root of an SD card: into a
staging folder first, flushed to the card, read back and compared with the output,
and only then in place of the card&apos;s previous private/, which stays otherwise.

Exit status: 0 every file was verified, 1 refused (no room, files no run writes,
not a folder; nothing was written), 2 usage error, 4 a write or the read-back failed.</translation>
    </message>
    <message>
        <source>Replace the card&apos;s private/ even when it holds files no run writes.</source>
        <translation>Replace the card&apos;s private/ even when it holds files no run writes.</translation>
    </message>
    <message>
        <source>Print the result as one JSON document on standard output.</source>
        <translation>Print the result as one JSON document on standard output.</translation>
    </message>
    <message>
        <source>The output root (where private/ is).</source>
        <translation>The output root (where private/ is).</translation>
    </message>
    <message>
        <source>The root folder of the SD card.</source>
        <translation>The root folder of the SD card.</translation>
    </message>
    <message>
        <source>card needs the OUTPUT_ROOT and the CARD_ROOT</source>
        <translation>card needs the OUTPUT_ROOT and the CARD_ROOT</translation>
    </message>
    <message>
        <source>reading back %1/%2 (%3 of %4 MB)</source>
        <translation>reading back %1/%2 (%3 of %4 MB)</translation>
    </message>
    <message>
        <source>writing %1/%2 (%3 of %4 MB)</source>
        <translation>writing %1/%2 (%3 of %4 MB)</translation>
    </message>
    <message>
        <source>%1 files (%2 MB) written to %3 and read back equal; the card may be removed</source>
        <translation>%1 files (%2 MB) written to %3 and read back equal; the card may be removed</translation>
    </message>
    <message>
        <source>copy an output to an SD card and read it back</source>
        <translation>copy an output to an SD card and read it back</translation>
    </message>
    <message>
        <source>cannot write to standard output: %1</source>
        <translation>cannot write to standard output: %1</translation>
    </message>
    <message>
        <source>the write failed</source>
        <translation>the write failed</translation>
    </message>
    <message>
        <source>%1 (reused)</source>
        <translation>%1 (reused)</translation>
    </message>
    <message>
        <source>Compression of .zbmp pictures, pack blocks and icons: %1. default: zlib at its default level (the default). smallest: files several percent smaller for the display to load, at several times the CPU.</source>
        <translation>Compression of .zbmp pictures, pack blocks and icons: %1. default: zlib at its default level (the default). smallest: files several percent smaller for the display to load, at several times the CPU.</translation>
    </message>
    <message>
        <source>Convert every file again, even those the previous run&apos;s output holds unchanged.</source>
        <translation>Convert every file again, even those the previous run&apos;s output holds unchanged.</translation>
    </message>
    <message>
        <source>%1 replaces the card&apos;s private folder all the same</source>
        <translation>%1 replaces the card&apos;s private folder all the same</translation>
    </message>
    <message>
        <source>the device parameters need confirmation: run on a terminal, or pass %1 (with %2 NAME=VALUE to correct them)</source>
        <translation>the device parameters need confirmation: run on a terminal, or pass %1 (with %2 NAME=VALUE to correct them)</translation>
    </message>
    <message>
        <source>the source configuration gives no valid baud rate (register 1 = %1); give one with %2 baud=RATE</source>
        <translation>the source configuration gives no valid baud rate (register 1 = %1); give one with %2 baud=RATE</translation>
    </message>
    <message>
        <source>%1 has no effect: a Branch A project takes its device parameters from its own configuration</source>
        <translation>%1 has no effect: a Branch A project takes its device parameters from its own configuration</translation>
    </message>
    <message>
        <source>if no run is writing there, %1 takes the lock over</source>
        <translation>if no run is writing there, %1 takes the lock over</translation>
    </message>
    <message>
        <source>%1 needs a folder</source>
        <translation>%1 needs a folder</translation>
    </message>
    <message>
        <source>%1 takes a number from 1 to 256, not &apos;%2&apos;</source>
        <translation>%1 takes a number from 1 to 256, not &apos;%2&apos;</translation>
    </message>
    <message>
        <source>%1 %2: %3</source>
        <extracomment>--set, the value given to it, and what is wrong with the value</extracomment>
        <translation>%1 %2: %3</translation>
    </message>
    <message>
        <source>%1 and %2 exclude each other</source>
        <translation>%1 and %2 exclude each other</translation>
    </message>
    <message>
        <source>%1 takes 0, 90, 180 or 270, not %2</source>
        <translation>%1 takes 0, 90, 180 or 270, not %2</translation>
    </message>
    <message>
        <source>%1 %2 is not a folder</source>
        <extracomment>--source and the folder given to it</extracomment>
        <translation>%1 %2 is not a folder</translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>skipped %1: cannot read the configuration text; no config.txt written</source>
        <translation>skipped %1: cannot read the configuration text; no config.txt written</translation>
    </message>
    <message>
        <source>skipped %1: cannot read the configuration file; no config.txt written</source>
        <translation>skipped %1: cannot read the configuration file; no config.txt written</translation>
    </message>
    <message>
        <source>config.txt not written: baud index %1 is not one of the eight line speeds</source>
        <translation>config.txt not written: baud index %1 is not one of the eight line speeds</translation>
    </message>
    <message>
        <source>setting &quot;%1&quot; has no &apos;=&apos;: expected NAME=VALUE</source>
        <translation>setting &quot;%1&quot; has no &apos;=&apos;: expected NAME=VALUE</translation>
    </message>
    <message>
        <source>invalid value &quot;%1&quot; for %2: expected one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200</source>
        <translation>invalid value &quot;%1&quot; for %2: expected one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200</translation>
    </message>
    <message>
        <source>invalid value &quot;%1&quot; for %2: expected on or off</source>
        <translation>invalid value &quot;%1&quot; for %2: expected on or off</translation>
    </message>
    <message>
        <source>invalid value &quot;%1&quot; for %2: expected 0 or 1</source>
        <translation>invalid value &quot;%1&quot; for %2: expected 0 or 1</translation>
    </message>
    <message>
        <source>invalid value &quot;%1&quot; for %2: expected 0 (silent), 1 (anywhere) or 2 (valid areas only)</source>
        <translation>invalid value &quot;%1&quot; for %2: expected 0 (silent), 1 (anywhere) or 2 (valid areas only)</translation>
    </message>
    <message>
        <source>invalid value &quot;%1&quot; for %2: expected 0, 90, 180 or 270</source>
        <translation>invalid value &quot;%1&quot; for %2: expected 0, 90, 180 or 270</translation>
    </message>
    <message>
        <source>unknown setting &quot;%1&quot;: expected baud, touch-file, coordinate-notify, touch-file-notify, long-press, touch-beep, screen-rotation, restore-text-background or delayed-refresh</source>
        <translation>unknown setting &quot;%1&quot;: expected baud, touch-file, coordinate-notify, touch-file-notify, long-press, touch-beep, screen-rotation, restore-text-background or delayed-refresh</translation>
    </message>
    <message>
        <source>invalid (register 1 = %1)</source>
        <translation>invalid (register 1 = %1)</translation>
    </message>
    <message>
        <source>invalid (code %1)</source>
        <translation>invalid (code %1)</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>input/output error</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>cannot create %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>cannot read %1: %2</translation>
    </message>
    <message>
        <source>stopped before %1 was complete</source>
        <translation>stopped before %1 was complete</translation>
    </message>
</context>
<context>
    <name>Font</name>
    <message>
        <source>no font: no font choice %1; the target gets no truefont/font.ttf</source>
        <translation>no font: no font choice %1; the target gets no truefont/font.ttf</translation>
    </message>
    <message>
        <source>no font: %1 was not found; the target gets no truefont/font.ttf</source>
        <translation>no font: %1 was not found; the target gets no truefont/font.ttf</translation>
    </message>
</context>
<context>
    <name>Host</name>
    <message>
        <source>源路径无效：%1</source>
        <translation>Source folder not found: %1</translation>
    </message>
    <message>
        <source>没有找到图片：%1</source>
        <translation>No pictures found in %1</translation>
    </message>
    <message>
        <source>没有找到字库font.ttf，需要手动配置：%1</source>
        <translation>Font not found: %1; add a font.ttf by hand</translation>
    </message>
    <message>
        <source>源路径与输出路径重叠：%1 和 %2</source>
        <translation>The source and output folders overlap: %1 and %2</translation>
    </message>
    <message>
        <source>源路径无效！</source>
        <translation>Invalid source folder!</translation>
    </message>
    <message>
        <source>没有找到图片！</source>
        <translation>No pictures found!</translation>
    </message>
    <message>
        <source>没有找到字库font.ttf，需要手动配置！</source>
        <translation>Font font.ttf not found: add it by hand!</translation>
    </message>
    <message>
        <source>源路径与输出路径重叠！</source>
        <translation>The source and output folders overlap!</translation>
    </message>
    <message>
        <source>找不到文档目录，无法输出！</source>
        <translation>No Documents folder: nowhere to write the output!</translation>
    </message>
</context>
<context>
    <name>Icon</name>
    <message>
        <source>skipped icon %1 of %2: %3</source>
        <translation>skipped icon %1 of %2: %3</translation>
    </message>
    <message>
        <source>cannot make a picture of it</source>
        <translation>cannot make a picture of it</translation>
    </message>
    <message>
        <source>cannot make a picture of it (%1)</source>
        <translation>cannot make a picture of it (%1)</translation>
    </message>
    <message>
        <source>cannot decode picture</source>
        <translation>cannot decode picture</translation>
    </message>
    <message>
        <source>skipped %1: cannot read icon library or it is too short</source>
        <translation>skipped %1: cannot read icon library or it is too short</translation>
    </message>
    <message>
        <source>icon library %1 is damaged (%2): the icons after that point are left out</source>
        <translation>icon library %1 is damaged (%2): the icons after that point are left out</translation>
    </message>
    <message>
        <source>abandoned icon library %1: out of memory</source>
        <translation>abandoned icon library %1: out of memory</translation>
    </message>
    <message>
        <source>cannot read it</source>
        <translation>cannot read it</translation>
    </message>
    <message>
        <source>the picture library holds no picture that converts</source>
        <translation>the picture library holds no picture that converts</translation>
    </message>
    <message>
        <source>offset table runs past the end of the file at slot %1</source>
        <translation>offset table runs past the end of the file at slot %1</translation>
    </message>
    <message>
        <source>slot %1 has an empty JPEG head</source>
        <translation>slot %1 has an empty JPEG head</translation>
    </message>
    <message>
        <source>slot %1 reaches past the end of the file</source>
        <translation>slot %1 reaches past the end of the file</translation>
    </message>
    <message>
        <source>slot table runs past the end of the file at slot %1</source>
        <translation>slot table runs past the end of the file at slot %1</translation>
    </message>
    <message>
        <source>icon number does not fit the icon file</source>
        <translation>icon number does not fit the icon file</translation>
    </message>
    <message>
        <source>icon size does not fit the icon file</source>
        <translation>icon size does not fit the icon file</translation>
    </message>
    <message>
        <source>pixel data does not match the icon size</source>
        <translation>pixel data does not match the icon size</translation>
    </message>
    <message>
        <source>cannot compress icon pixels</source>
        <translation>cannot compress icon pixels</translation>
    </message>
    <message>
        <source>icon file would exceed 4 GiB</source>
        <translation>icon file would exceed 4 GiB</translation>
    </message>
    <message>
        <source>no such icon</source>
        <translation>no such icon</translation>
    </message>
    <message>
        <source>icon %1 of %2: %3</source>
        <translation>icon %1 of %2: %3</translation>
    </message>
    <message>
        <source>skipped %1: cannot read it (%2)</source>
        <translation>skipped %1: cannot read it (%2)</translation>
    </message>
    <message>
        <source>skipped %1: %2</source>
        <extracomment>an icon library, and the limit it passes</extracomment>
        <translation>skipped %1: %2</translation>
    </message>
</context>
<context>
    <name>Inspect</name>
    <message>
        <source>%1: %2</source>
        <extracomment>a file of the output, and what is wrong with it</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>it is missing</source>
        <translation>it is missing</translation>
    </message>
    <message>
        <source>its size cannot be read (%1)</source>
        <translation>its size cannot be read (%1)</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>it cannot be read</translation>
    </message>
    <message>
        <source>it changed while it was read</source>
        <translation>it changed while it was read</translation>
    </message>
    <message>
        <source>%1/: cannot be listed (%2)</source>
        <translation>%1/: cannot be listed (%2)</translation>
    </message>
    <message>
        <source>N%1 or N%2</source>
        <translation>N%1 or N%2</translation>
    </message>
    <message>
        <source>%1: not a name the display reads (%2)</source>
        <translation>%1: not a name the display reads (%2)</translation>
    </message>
    <message>
        <source>%1: picture %2 is also %3; the display shows only one</source>
        <translation>%1: picture %2 is also %3; the display shows only one</translation>
    </message>
    <message>
        <source>zbmp, zlib</source>
        <translation>zbmp, zlib</translation>
    </message>
    <message>
        <source>zbmp, raw</source>
        <translation>zbmp, raw</translation>
    </message>
    <message>
        <source>%1: it is empty, the library has no icons</source>
        <translation>%1: it is empty, the library has no icons</translation>
    </message>
    <message>
        <source>pack, JPEG</source>
        <translation>pack, JPEG</translation>
    </message>
    <message>
        <source>pack, zlib rows</source>
        <translation>pack, zlib rows</translation>
    </message>
    <message>
        <source>config.txt: it is missing; the display keeps the settings it has</source>
        <translation>config.txt: it is missing; the display keeps the settings it has</translation>
    </message>
    <message>
        <source>truefont/: it is missing; the display has no font</source>
        <translation>truefont/: it is missing; the display has no font</translation>
    </message>
    <message>
        <source>%1 (named by truefont.ini): %2</source>
        <translation>%1 (named by truefont.ini): %2</translation>
    </message>
    <message>
        <source>%1: no output here (neither a private/ folder nor config.txt, image/, icon/, truefont/ or bin/)</source>
        <translation>%1: no output here (neither a private/ folder nor config.txt, image/, icon/, truefont/ or bin/)</translation>
    </message>
    <message>
        <source>image/: there is no screen picture</source>
        <translation>image/: there is no screen picture</translation>
    </message>
    <message>
        <source>its compressed data is empty</source>
        <translation>its compressed data is empty</translation>
    </message>
    <message>
        <source>its %1 bytes of compressed data cannot hold the %2 bytes it declares</source>
        <translation>its %1 bytes of compressed data cannot hold the %2 bytes it declares</translation>
    </message>
    <message>
        <source>out of memory for its %1 bytes</source>
        <translation>out of memory for its %1 bytes</translation>
    </message>
    <message>
        <source>zlib cannot start</source>
        <translation>zlib cannot start</translation>
    </message>
    <message>
        <source>its compressed data holds more than the %1 bytes it declares</source>
        <translation>its compressed data holds more than the %1 bytes it declares</translation>
    </message>
    <message>
        <source>its compressed data holds %1 bytes, not the %2 it declares</source>
        <translation>its compressed data holds %1 bytes, not the %2 it declares</translation>
    </message>
    <message>
        <source>%1 bytes follow the end of its compressed data</source>
        <translation>%1 bytes follow the end of its compressed data</translation>
    </message>
    <message>
        <source>its compressed data ends after %1 of the %2 bytes it declares (cut short?)</source>
        <translation>its compressed data ends after %1 of the %2 bytes it declares (cut short?)</translation>
    </message>
    <message>
        <source>out of memory while inflating it</source>
        <translation>out of memory while inflating it</translation>
    </message>
    <message>
        <source>its compressed data is damaged</source>
        <translation>its compressed data is damaged</translation>
    </message>
    <message>
        <source>its compressed data is damaged (zlib: %1)</source>
        <translation>its compressed data is damaged (zlib: %1)</translation>
    </message>
    <message>
        <source>it is %1 bytes, shorter than the 16-byte header</source>
        <translation>it is %1 bytes, shorter than the 16-byte header</translation>
    </message>
    <message>
        <source>its header gives a size of %1 x %2</source>
        <translation>its header gives a size of %1 x %2</translation>
    </message>
    <message>
        <source>its header&apos;s compression flag is %1, neither 0x00FF (zlib) nor 0x0000 (raw)</source>
        <translation>its header&apos;s compression flag is %1, neither 0x00FF (zlib) nor 0x0000 (raw)</translation>
    </message>
    <message>
        <source>header byte %1 is %2, not zero</source>
        <translation>header byte %1 is %2, not zero</translation>
    </message>
    <message>
        <source>its raw rows are %1 bytes, %2 short of the %3 x %4 picture its header declares (cut short?)</source>
        <translation>its raw rows are %1 bytes, %2 short of the %3 x %4 picture its header declares (cut short?)</translation>
    </message>
    <message>
        <source>%1 bytes follow its last row</source>
        <translation>%1 bytes follow its last row</translation>
    </message>
    <message>
        <source>it does not start with a JPEG start marker</source>
        <translation>it does not start with a JPEG start marker</translation>
    </message>
    <message>
        <source>it does not end with the JPEG end marker (cut short?)</source>
        <translation>it does not end with the JPEG end marker (cut short?)</translation>
    </message>
    <message>
        <source>it is too large to decode</source>
        <translation>it is too large to decode</translation>
    </message>
    <message>
        <source>it is not a JPEG picture a decoder can read (%1)</source>
        <translation>it is not a JPEG picture a decoder can read (%1)</translation>
    </message>
    <message>
        <source>it does not decode (%1)</source>
        <translation>it does not decode (%1)</translation>
    </message>
    <message>
        <source>it decodes to %1 x %2, not the %3 x %4 it declares</source>
        <translation>it decodes to %1 x %2, not the %3 x %4 it declares</translation>
    </message>
    <message>
        <source>it is %1 bytes, shorter than the 8-byte header</source>
        <translation>it is %1 bytes, shorter than the 8-byte header</translation>
    </message>
    <message>
        <source>it does not start with &quot;ZICO&quot;</source>
        <translation>it does not start with &quot;ZICO&quot;</translation>
    </message>
    <message>
        <source>its index is empty (a library without icons is a 0-byte file)</source>
        <translation>its index is empty (a library without icons is a 0-byte file)</translation>
    </message>
    <message>
        <source>its index size %1 is not a multiple of 16</source>
        <translation>its index size %1 is not a multiple of 16</translation>
    </message>
    <message>
        <source>its index of %1 bytes runs past the end of the file (%2 bytes)</source>
        <translation>its index of %1 bytes runs past the end of the file (%2 bytes)</translation>
    </message>
    <message>
        <source>entry %1 (id %2) repeats the id of entry %3</source>
        <translation>entry %1 (id %2) repeats the id of entry %3</translation>
    </message>
    <message>
        <source>entry %1 (id %2) has kind %3, not 1</source>
        <translation>entry %1 (id %2) has kind %3, not 1</translation>
    </message>
    <message>
        <source>entry %1 (id %2) has a size of %3 x %4</source>
        <translation>entry %1 (id %2) has a size of %3 x %4</translation>
    </message>
    <message>
        <source>entry %1 (id %2) points past the end of the file (its block of %3 bytes at %4, the file %5 bytes)</source>
        <translation>entry %1 (id %2) points past the end of the file (its block of %3 bytes at %4, the file %5 bytes)</translation>
    </message>
    <message>
        <source>entry %1 (id %2) shares its data with entry %3</source>
        <translation>entry %1 (id %2) shares its data with entry %3</translation>
    </message>
    <message>
        <source>entry %1 (id %2): %3</source>
        <extracomment>an icon library&apos;s entry, and what is wrong with its data</extracomment>
        <translation>entry %1 (id %2): %3</translation>
    </message>
    <message>
        <source>image.idx is empty</source>
        <translation>image.idx is empty</translation>
    </message>
    <message>
        <source>image.idx is %1 bytes, not a whole number of 16-byte entries</source>
        <translation>image.idx is %1 bytes, not a whole number of 16-byte entries</translation>
    </message>
    <message>
        <source>image.bin is empty</source>
        <translation>image.bin is empty</translation>
    </message>
    <message>
        <source>entry %1 holds the number %2 (an entry&apos;s number is its place in image.idx)</source>
        <translation>entry %1 holds the number %2 (an entry&apos;s number is its place in image.idx)</translation>
    </message>
    <message>
        <source>entry %1 has kind %2, neither 0x04 (zlib rows) nor 0x08 (JPEG)</source>
        <translation>entry %1 has kind %2, neither 0x04 (zlib rows) nor 0x08 (JPEG)</translation>
    </message>
    <message>
        <source>entry %1&apos;s address %2 lies before %3</source>
        <translation>entry %1&apos;s address %2 lies before %3</translation>
    </message>
    <message>
        <source>entry %1 has a size of %2 x %3</source>
        <translation>entry %1 has a size of %2 x %3</translation>
    </message>
    <message>
        <source>entry %1&apos;s last two bytes are not zero</source>
        <translation>entry %1&apos;s last two bytes are not zero</translation>
    </message>
    <message>
        <source>entry %1 has no data</source>
        <translation>entry %1 has no data</translation>
    </message>
    <message>
        <source>entry %1 points past the end of image.bin (%2 bytes at %3, image.bin %4 bytes)</source>
        <translation>entry %1 points past the end of image.bin (%2 bytes at %3, image.bin %4 bytes)</translation>
    </message>
    <message>
        <source>entry %1 shares its data with entry %2</source>
        <translation>entry %1 shares its data with entry %2</translation>
    </message>
    <message>
        <source>entry %1 points past the end of image.bin</source>
        <translation>entry %1 points past the end of image.bin</translation>
    </message>
    <message>
        <source>entry %1: %2</source>
        <extracomment>a pack&apos;s entry, and what is wrong with its data</extracomment>
        <translation>entry %1: %2</translation>
    </message>
    <message>
        <source>entry %1&apos;s JPEG is %2 x %3, its entry says %4 x %5</source>
        <translation>entry %1&apos;s JPEG is %2 x %3, its entry says %4 x %5</translation>
    </message>
    <message>
        <source>has no register number after R</source>
        <translation>has no register number after R</translation>
    </message>
    <message>
        <source>has no &apos;=&apos; after %1</source>
        <translation>has no &apos;=&apos; after %1</translation>
    </message>
    <message>
        <source>gives %1 a value of more than 8 hex digits</source>
        <translation>gives %1 a value of more than 8 hex digits</translation>
    </message>
    <message>
        <source>gives %1 no hex value</source>
        <translation>gives %1 no hex value</translation>
    </message>
    <message>
        <source>line %1 (&quot;%2&quot;) %3</source>
        <extracomment>a line of config.txt, its text, and what is wrong with it</extracomment>
        <translation>line %1 (&quot;%2&quot;) %3</translation>
    </message>
    <message>
        <source>line %1 sets %2 again (line %3 set it first)</source>
        <translation>line %1 sets %2 again (line %3 set it first)</translation>
    </message>
    <message>
        <source>it has no R1 line (the baud rate)</source>
        <translation>it has no R1 line (the baud rate)</translation>
    </message>
    <message>
        <source>it has no R2 line (the touch and screen flags)</source>
        <translation>it has no R2 line (the touch and screen flags)</translation>
    </message>
    <message>
        <source>R1=%1 is none of the eight baud rates; the display is given that line speed</source>
        <translation>R1=%1 is none of the eight baud rates; the display is given that line speed</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud</translation>
    </message>
    <message>
        <source>使用触摸配置文件（未勾选时使用坐标通知）</source>
        <translation>Touch configuration file (else coordinates)</translation>
    </message>
    <message>
        <source>触摸通知</source>
        <translation>Touch notify</translation>
    </message>
    <message>
        <source>长按通知(100毫秒间隔)</source>
        <translation>Long press (every 100 ms)</translation>
    </message>
    <message>
        <source>触摸蜂鸣</source>
        <translation>Touch beep</translation>
    </message>
    <message>
        <source>屏幕旋转</source>
        <translation>Screen rotation</translation>
    </message>
    <message>
        <source>显示文字时，自动用背景图片恢复</source>
        <translation>Restore the background picture behind text</translation>
    </message>
    <message>
        <source>延时200毫秒刷新，确保连续的指令同步刷新</source>
        <translation>Delay refresh by 200 ms</translation>
    </message>
    <message>
        <source>%1 (R2 alone: no R3 line)</source>
        <translation>%1 (R2 alone: no R3 line)</translation>
    </message>
    <message>
        <source>font0= names no file</source>
        <translation>font0= names no file</translation>
    </message>
    <message>
        <source>it has no [setting] section</source>
        <translation>it has no [setting] section</translation>
    </message>
    <message>
        <source>it names no font (no font0= line in [setting])</source>
        <translation>it names no font (no font0= line in [setting])</translation>
    </message>
    <message>
        <source>font0 names &quot;%1&quot;, not a file beside it</source>
        <translation>font0 names &quot;%1&quot;, not a file beside it</translation>
    </message>
    <message>
        <source>it is %1 bytes, too short for a font</source>
        <translation>it is %1 bytes, too short for a font</translation>
    </message>
    <message>
        <source>its collection header is cut short</source>
        <translation>its collection header is cut short</translation>
    </message>
    <message>
        <source>it is not a TrueType or OpenType font</source>
        <translation>it is not a TrueType or OpenType font</translation>
    </message>
    <message>
        <source>its table directory lies past its end</source>
        <translation>its table directory lies past its end</translation>
    </message>
    <message>
        <source>its table directory runs past its end</source>
        <translation>its table directory runs past its end</translation>
    </message>
    <message>
        <source>it has no name table</source>
        <translation>it has no name table</translation>
    </message>
    <message>
        <source>its name table lies outside the file</source>
        <translation>its name table lies outside the file</translation>
    </message>
    <message>
        <source>its name records run past the name table</source>
        <translation>its name records run past the name table</translation>
    </message>
    <message>
        <source>its name table names no font</source>
        <translation>its name table names no font</translation>
    </message>
    <message>
        <source>cannot write %1 (%2)</source>
        <translation>cannot write %1 (%2)</translation>
    </message>
    <message>
        <source>Problems (%1 faults, %2 notes)</source>
        <translation>Problems (%1 faults, %2 notes)</translation>
    </message>
    <message>
        <source>note: %1</source>
        <translation>note: %1</translation>
    </message>
    <message>
        <source>Screens (%1)</source>
        <translation>Screens (%1)</translation>
    </message>
    <message>
        <source>No screen picture.</source>
        <translation>No screen picture.</translation>
    </message>
    <message>
        <source>%1 cannot be shown</source>
        <translation>%1 cannot be shown</translation>
    </message>
    <message>
        <source>Icon libraries (%1)</source>
        <translation>Icon libraries (%1)</translation>
    </message>
    <message>
        <source>No icon library.</source>
        <translation>No icon library.</translation>
    </message>
    <message>
        <source>id %1</source>
        <translation>id %1</translation>
    </message>
    <message>
        <source>icon %1</source>
        <translation>icon %1</translation>
    </message>
    <message>
        <source>damaged</source>
        <translation>damaged</translation>
    </message>
    <message>
        <source>Picture pack (bin/image.idx, bin/image.bin): %1 entries</source>
        <translation>Picture pack (bin/image.idx, bin/image.bin): %1 entries</translation>
    </message>
    <message>
        <source>number</source>
        <translation>number</translation>
    </message>
    <message>
        <source>kind</source>
        <translation>kind</translation>
    </message>
    <message>
        <source>address</source>
        <translation>address</translation>
    </message>
    <message>
        <source>length</source>
        <translation>length</translation>
    </message>
    <message>
        <source>state</source>
        <translation>state</translation>
    </message>
    <message>
        <source>%1 zlib rows</source>
        <translation>%1 zlib rows</translation>
    </message>
    <message>
        <source>%1 JPEG</source>
        <translation>%1 JPEG</translation>
    </message>
    <message>
        <source>Device parameters (config.txt)</source>
        <translation>Device parameters (config.txt)</translation>
    </message>
    <message>
        <source>No config.txt could be read.</source>
        <translation>No config.txt could be read.</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>--set name</source>
        <translation>--set name</translation>
    </message>
    <message>
        <source>value</source>
        <translation>value</translation>
    </message>
    <message>
        <source>Register lines</source>
        <translation>Register lines</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>Font (truefont/)</source>
        <translation>Font (truefont/)</translation>
    </message>
    <message>
        <source>No font is named.</source>
        <translation>No font is named.</translation>
    </message>
    <message>
        <source>file</source>
        <translation>file</translation>
    </message>
    <message>
        <source>font</source>
        <translation>font</translation>
    </message>
    <message>
        <source>(unreadable)</source>
        <translation>(unreadable)</translation>
    </message>
    <message>
        <source>the page folder %1 lies inside %2, which is copied to the SD card</source>
        <translation>the page folder %1 lies inside %2, which is copied to the SD card</translation>
    </message>
    <message>
        <source>cannot create %1 (%2)</source>
        <translation>cannot create %1 (%2)</translation>
    </message>
    <message>
        <source>cannot create %1</source>
        <translation>cannot create %1</translation>
    </message>
    <message>
        <source>What the display will show</source>
        <translation>What the display will show</translation>
    </message>
    <message>
        <source>%1 screens, %2 icon libraries</source>
        <translation>%1 screens, %2 icon libraries</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>size</source>
        <comment>a picture&apos;s width and height</comment>
        <translation>size</translation>
    </message>
    <message>
        <source>size</source>
        <comment>of a file</comment>
        <translation>size</translation>
    </message>
    <message>
        <source>the source&apos;s register text sets no R2: the display keeps its own touch and screen flags</source>
        <translation>the source&apos;s register text sets no R2: the display keeps its own touch and screen flags</translation>
    </message>
    <message>
        <source>copied unchanged from the source&apos;s register text: %1</source>
        <translation>copied unchanged from the source&apos;s register text: %1</translation>
    </message>
    <message>
        <source>private/: incomplete: the run that wrote it did not finish (there is no %1 beside it)</source>
        <translation>private/: incomplete: the run that wrote it did not finish (there is no %1 beside it)</translation>
    </message>
    <message>
        <source>%1: %2; the sources are not named</source>
        <translation>%1: %2; the sources are not named</translation>
    </message>
    <message>
        <source>%1: picture %2 differs visibly from its source (%3 dB, a channel off by up to %4 levels); the lossless format (zbmp) keeps it exact</source>
        <translation>%1: picture %2 differs visibly from its source (%3 dB, a channel off by up to %4 levels); the lossless format (zbmp) keeps it exact</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>from %1, icon %2</source>
        <translation>from %1, icon %2</translation>
    </message>
    <message>
        <source>from %1</source>
        <translation>from %1</translation>
    </message>
    <message>
        <source>in place of %1</source>
        <translation>in place of %1</translation>
    </message>
    <message>
        <source>stored turned %1°</source>
        <translation>stored turned %1°</translation>
    </message>
    <message>
        <source>No problems found.</source>
        <translation>No problems found.</translation>
    </message>
    <message>
        <source>%1 of %2 screens are %3 × %4 (as stored); the others are marked.</source>
        <translation>%1 of %2 screens are %3 × %4 (as stored); the others are marked.</translation>
    </message>
    <message>
        <source>not the size of the other screens</source>
        <translation>not the size of the other screens</translation>
    </message>
    <message>
        <source>against the source: %1 dB, largest error %2</source>
        <translation>against the source: %1 dB, largest error %2</translation>
    </message>
    <message>
        <source>on the display</source>
        <translation>on the display</translation>
    </message>
    <message>
        <source>source</source>
        <translation>source</translation>
    </message>
    <message>
        <source>%1 icons, %2 (empty)</source>
        <translation>%1 icons, %2 (empty)</translation>
    </message>
    <message>
        <source>%1 icons, %2</source>
        <translation>%1 icons, %2</translation>
    </message>
    <message>
        <source>no problems found</source>
        <translation>no problems found</translation>
    </message>
    <message>
        <source>Every screen and icon is shown turned %1° clockwise, as --rotation asks: as the display shows it.</source>
        <translation>Every screen and icon is shown turned %1° clockwise, as --rotation asks: as the display shows it.</translation>
    </message>
    <message>
        <source>config.txt sets no screen rotation: every screen and icon is shown as stored, as the display shows it.</source>
        <translation>config.txt sets no screen rotation: every screen and icon is shown as stored, as the display shows it.</translation>
    </message>
    <message>
        <source>config.txt turns the screen %1° clockwise: every screen and icon is shown turned so, as the display shows it.</source>
        <translation>config.txt turns the screen %1° clockwise: every screen and icon is shown turned so, as the display shows it.</translation>
    </message>
    <message>
        <source>No config.txt gives the screen rotation: every screen and icon is shown as stored (--rotation turns them).</source>
        <translation>No config.txt gives the screen rotation: every screen and icon is shown as stored (--rotation turns them).</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>Picture pack</source>
        <translation>Picture pack</translation>
    </message>
    <message>
        <source>Differ visibly from their sources: %1. The lossless format (zbmp) keeps them exact.</source>
        <translation>Differ visibly from their sources: %1. The lossless format (zbmp) keeps them exact.</translation>
    </message>
    <message>
        <source>Every screen is %1 × %2 (as stored).</source>
        <translation>Every screen is %1 × %2 (as stored).</translation>
    </message>
    <message>
        <source>%1 is a link: the page is never written through a link</source>
        <translation>%1 is a link: the page is never written through a link</translation>
    </message>
    <message>
        <source>%1 is a folder, where the page writes a file</source>
        <translation>%1 is a folder, where the page writes a file</translation>
    </message>
    <message>
        <source>%1 is not a regular file (a FIFO or a device), where the page writes a file</source>
        <translation>%1 is not a regular file (a FIFO or a device), where the page writes a file</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 is not a folder</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>--lang needs a language: zh or en</source>
        <translation>--lang needs a language: zh or en</translation>
    </message>
    <message>
        <source>--lang takes zh or en, not &apos;%1&apos;</source>
        <translation>--lang takes zh or en, not &apos;%1&apos;</translation>
    </message>
</context>
<context>
    <name>Limits</name>
    <message>
        <source>picture is %1 x %2 pixels, larger than %3 on a side</source>
        <translation>picture is %1 x %2 pixels, larger than %3 on a side</translation>
    </message>
    <message>
        <source>picture is %1 x %2 pixels, more than %3 MiB decoded</source>
        <translation>picture is %1 x %2 pixels, more than %3 MiB decoded</translation>
    </message>
    <message>
        <source>a JPEG of more than %1 scans</source>
        <translation>a JPEG of more than %1 scans</translation>
    </message>
    <message>
        <source>a run-length BMP of %1 x %2 pixels in %3 bytes of data (at most %4 pixels a byte are taken)</source>
        <translation>a run-length BMP of %1 x %2 pixels in %3 bytes of data (at most %4 pixels a byte are taken)</translation>
    </message>
    <message>
        <source>icon library of %1 bytes is larger than the limit of %2 MiB</source>
        <translation>icon library of %1 bytes is larger than the limit of %2 MiB</translation>
    </message>
    <message>
        <source>its icons hold more than %1 bytes of RGB565 pixels, more than the limit of %2 MiB</source>
        <translation>its icons hold more than %1 bytes of RGB565 pixels, more than the limit of %2 MiB</translation>
    </message>
    <message>
        <source>its icons hold %1 bytes of RGB565 pixels, more than the limit of %2 MiB</source>
        <translation>its icons hold %1 bytes of RGB565 pixels, more than the limit of %2 MiB</translation>
    </message>
    <message>
        <source>it is %1 bytes, more than the %2 read for it</source>
        <translation>it is %1 bytes, more than the %2 read for it</translation>
    </message>
</context>
<context>
    <name>Lock</name>
    <message>
        <source>%1 min ago</source>
        <translation>%1 min ago</translation>
    </message>
    <message>
        <source>cannot create the output lock %1: %2</source>
        <translation>cannot create the output lock %1: %2</translation>
    </message>
    <message>
        <source>the output lock %1 is a folder, not a lock file; remove it if no run is writing there</source>
        <translation>the output lock %1 is a folder, not a lock file; remove it if no run is writing there</translation>
    </message>
    <message>
        <source>the output lock %1 is a link, not a lock file; remove it if no run is writing there</source>
        <translation>the output lock %1 is a link, not a lock file; remove it if no run is writing there</translation>
    </message>
    <message>
        <source>the output lock %1 is not a regular file; remove it if no run is writing there</source>
        <translation>the output lock %1 is not a regular file; remove it if no run is writing there</translation>
    </message>
    <message>
        <source>unreadable: %1</source>
        <translation>unreadable: %1</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>empty</translation>
    </message>
    <message>
        <source>not a lock this program wrote</source>
        <translation>not a lock this program wrote</translation>
    </message>
    <message>
        <source>process %1 on %2 has ended</source>
        <translation>process %1 on %2 has ended</translation>
    </message>
    <message>
        <source>another run is writing into this output (process %1 on %2, lock file %3); try again when it has finished</source>
        <translation>another run is writing into this output (process %1 on %2, lock file %3); try again when it has finished</translation>
    </message>
    <message>
        <source>taken over from process %1 on %2</source>
        <translation>taken over from process %1 on %2</translation>
    </message>
    <message>
        <source>left by process %1 on %2 %3</source>
        <translation>left by process %1 on %2 %3</translation>
    </message>
    <message>
        <source>cannot remove the stale output lock %1 (%2): %3</source>
        <translation>cannot remove the stale output lock %1 (%2): %3</translation>
    </message>
    <message>
        <source>removed the stale output lock %1: %2</source>
        <translation>removed the stale output lock %1: %2</translation>
    </message>
    <message>
        <source>another run took the output lock %1 at the same moment; try again when it has finished</source>
        <translation>another run took the output lock %1 at the same moment; try again when it has finished</translation>
    </message>
    <message>
        <source>process %1 on %2</source>
        <translation>process %1 on %2</translation>
    </message>
    <message>
        <source>the output lock %1 names process %2 on %3, which cannot be checked from here; nothing was written</source>
        <translation>the output lock %1 names process %2 on %3, which cannot be checked from here; nothing was written</translation>
    </message>
    <message>
        <source>process %1 on %2, taken %3</source>
        <translation>process %1 on %2, taken %3</translation>
    </message>
    <message>
        <source>the output lock %1 was taken by process %2 on %3 %4; that machine&apos;s run cannot be checked from here, and its lock counts as stale after an hour; nothing was written</source>
        <translation>the output lock %1 was taken by process %2 on %3 %4; that machine&apos;s run cannot be checked from here, and its lock counts as stale after an hour; nothing was written</translation>
    </message>
</context>
<context>
    <name>Picture</name>
    <message>
        <source>JPEG: picture has no pixels</source>
        <translation>JPEG: picture has no pixels</translation>
    </message>
    <message>
        <source>JPEG: out of memory</source>
        <translation>JPEG: out of memory</translation>
    </message>
    <message>
        <source>JPEG: %1</source>
        <translation>JPEG: %1</translation>
    </message>
    <message>
        <source>the file ends inside its header</source>
        <translation>the file ends inside its header</translation>
    </message>
    <message>
        <source>the file ends after %1 of the %2 bytes its header declares</source>
        <translation>the file ends after %1 of the %2 bytes its header declares</translation>
    </message>
    <message>
        <source>the file ends before its end-of-image marker (a cut JPEG)</source>
        <translation>the file ends before its end-of-image marker (a cut JPEG)</translation>
    </message>
    <message>
        <source>cannot decode it (%1)</source>
        <translation>cannot decode it (%1)</translation>
    </message>
    <message>
        <source>cut short: %1</source>
        <translation>cut short: %1</translation>
    </message>
    <message>
        <source>refused: %1</source>
        <translation>refused: %1</translation>
    </message>
    <message>
        <source>cannot decode it (no pixels)</source>
        <translation>cannot decode it (no pixels)</translation>
    </message>
    <message>
        <source>out of memory while decoding it</source>
        <translation>out of memory while decoding it</translation>
    </message>
    <message>
        <source>cannot read it (or it is larger than 2 GiB)</source>
        <translation>cannot read it (or it is larger than 2 GiB)</translation>
    </message>
    <message>
        <source>cannot decode it (not a regular file)</source>
        <translation>cannot decode it (not a regular file)</translation>
    </message>
    <message>
        <source>skipped picture %1: %2</source>
        <translation>skipped picture %1: %2</translation>
    </message>
    <message>
        <source>its number %1 is outside 0..65535, the range of the picture pack</source>
        <translation>its number %1 is outside 0..65535, the range of the picture pack</translation>
    </message>
    <message>
        <source>its size %1 x %2 does not fit the picture pack</source>
        <translation>its size %1 x %2 does not fit the picture pack</translation>
    </message>
    <message>
        <source>no data</source>
        <translation>no data</translation>
    </message>
    <message>
        <source>its data of %1 bytes passes the picture pack&apos;s limit of %2</source>
        <translation>its data of %1 bytes passes the picture pack&apos;s limit of %2</translation>
    </message>
    <message>
        <source>the picture pack is full</source>
        <translation>the picture pack is full</translation>
    </message>
    <message>
        <source>out of memory while preparing it</source>
        <translation>out of memory while preparing it</translation>
    </message>
    <message>
        <source>cannot encode it as .zbmp</source>
        <translation>cannot encode it as .zbmp</translation>
    </message>
    <message>
        <source>cannot compress its pixels</source>
        <translation>cannot compress its pixels</translation>
    </message>
    <message>
        <source>out of memory while converting it</source>
        <translation>out of memory while converting it</translation>
    </message>
    <message>
        <source>cannot read it</source>
        <translation>cannot read it</translation>
    </message>
    <message>
        <source>cannot read it (%1)</source>
        <translation>cannot read it (%1)</translation>
    </message>
</context>
<context>
    <name>Record</name>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>it is larger than %1 bytes</translation>
    </message>
    <message>
        <source>it is not JSON (%1 at byte %2)</source>
        <translation>it is not JSON (%1 at byte %2)</translation>
    </message>
    <message>
        <source>it is not a run record</source>
        <translation>it is not a run record</translation>
    </message>
    <message>
        <source>it has no version</source>
        <translation>it has no version</translation>
    </message>
    <message>
        <source>it lists no outputs</source>
        <translation>it lists no outputs</translation>
    </message>
    <message>
        <source>it lists more than %1 outputs</source>
        <translation>it lists more than %1 outputs</translation>
    </message>
    <message>
        <source>its entry for %1 is not an output&apos;s</source>
        <translation>its entry for %1 is not an output&apos;s</translation>
    </message>
    <message>
        <source>its entry for %1 names a source wrongly</source>
        <translation>its entry for %1 names a source wrongly</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>it cannot be read</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>replaced by %1, which has the same number</source>
        <translation>replaced by %1, which has the same number</translation>
    </message>
    <message>
        <source>same number: %1 is used for %2, %3 is not</source>
        <translation>same number: %1 is used for %2, %3 is not</translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source>the source holds the 14 table (%1) and the 13 table (%2)</source>
        <translation>the source holds the 14 table (%1) and the 13 table (%2)</translation>
    </message>
    <message>
        <source>the source holds neither the 14 nor the 13 table</source>
        <translation>the source holds neither the 14 nor the 13 table</translation>
    </message>
    <message>
        <source>the source holds no 14 table</source>
        <translation>the source holds no 14 table</translation>
    </message>
    <message>
        <source>the source holds no 13 (or 30) table</source>
        <translation>the source holds no 13 (or 30) table</translation>
    </message>
    <message>
        <source>cannot use %1 as the output folder: it is not a folder</source>
        <translation>cannot use %1 as the output folder: it is not a folder</translation>
    </message>
    <message>
        <source>cannot use %1 as the output folder: %2</source>
        <translation>cannot use %1 as the output folder: %2</translation>
    </message>
    <message>
        <source>cannot write into %1: %2</source>
        <translation>cannot write into %1: %2</translation>
    </message>
    <message>
        <source>%1 holds %2, which no run writes; nothing was removed (--force removes it)</source>
        <translation>%1 holds %2, which no run writes; nothing was removed (--force removes it)</translation>
    </message>
    <message>
        <source>cannot remove all of the previous output in %1: %2 is still there (%3); nothing was written</source>
        <translation>cannot remove all of the previous output in %1: %2 is still there (%3); nothing was written</translation>
    </message>
    <message>
        <source>not used: %1, %2</source>
        <translation>not used: %1, %2</translation>
    </message>
    <message>
        <source>skipped %1: %2</source>
        <translation>skipped %1: %2</translation>
    </message>
    <message>
        <source>a Branch B project copies no sounds</source>
        <translation>a Branch B project copies no sounds</translation>
    </message>
    <message>
        <source>Branch B uses no 14 table</source>
        <translation>Branch B uses no 14 table</translation>
    </message>
    <message>
        <source>Branch B uses no 22 table</source>
        <translation>Branch B uses no 22 table</translation>
    </message>
    <message>
        <source>ignored %1: %2</source>
        <translation>ignored %1: %2</translation>
    </message>
    <message>
        <source>the register text is copied as config.txt instead</source>
        <translation>the register text is copied as config.txt instead</translation>
    </message>
    <message>
        <source>the bitmap font display has no effect: config.txt is a copy of %1</source>
        <translation>the bitmap font display has no effect: config.txt is a copy of %1</translation>
    </message>
    <message>
        <source>the bitmap font display has no effect: no config.txt is written</source>
        <translation>the bitmap font display has no effect: no config.txt is written</translation>
    </message>
    <message>
        <source>the picture pack is for Branch B projects: this Branch A project gets single picture files</source>
        <translation>the picture pack is for Branch B projects: this Branch A project gets single picture files</translation>
    </message>
    <message>
        <source>the block file names icon library %1 as the picture library: its icons are the screen pictures</source>
        <translation>the block file names icon library %1 as the picture library: its icons are the screen pictures</translation>
    </message>
    <message>
        <source>the block file names icon library %1 as the picture library, and the source holds none</source>
        <translation>the block file names icon library %1 as the picture library, and the source holds none</translation>
    </message>
    <message>
        <source>no screen pictures: the block file names icon library %1 as the picture library, and the source holds none</source>
        <translation>no screen pictures: the block file names icon library %1 as the picture library, and the source holds none</translation>
    </message>
    <message>
        <source>the register text gives the device parameters instead</source>
        <translation>the register text gives the device parameters instead</translation>
    </message>
    <message>
        <source>the device parameters were read from it</source>
        <translation>the device parameters were read from it</translation>
    </message>
    <message>
        <source>the device parameters hold no valid baud rate; config.txt not written</source>
        <translation>the device parameters hold no valid baud rate; config.txt not written</translation>
    </message>
    <message>
        <source>skipped picture %1: %2</source>
        <translation>skipped picture %1: %2</translation>
    </message>
    <message>
        <source>replaced by %1, which has the same number</source>
        <translation>replaced by %1, which has the same number</translation>
    </message>
    <message>
        <source>same number: %1 is used for picture %2 of the picture pack, %3 is not</source>
        <translation>same number: %1 is used for picture %2 of the picture pack, %3 is not</translation>
    </message>
    <message>
        <source>odd size: picture %1 is %2 x %3, the other %4 pictures are %5 x %6</source>
        <translation>odd size: picture %1 is %2 x %3, the other %4 pictures are %5 x %6</translation>
    </message>
    <message>
        <source>the run ended before it came to this input</source>
        <translation>the run ended before it came to this input</translation>
    </message>
    <message>
        <source>not used by this run</source>
        <translation>not used by this run</translation>
    </message>
    <message>
        <source>the run ended before its output was put in place</source>
        <translation>the run ended before its output was put in place</translation>
    </message>
    <message>
        <source>%1 is still there (%2)</source>
        <translation>%1 is still there (%2)</translation>
    </message>
    <message>
        <source>cannot put %1 back in place of %2: %3</source>
        <translation>cannot put %1 back in place of %2: %3</translation>
    </message>
    <message>
        <source>a run was stopped while it put its output in place: its complete output is now %1</source>
        <translation>a run was stopped while it put its output in place: its complete output is now %1</translation>
    </message>
    <message>
        <source>a run was stopped while it put its output in place: the previous output is back in %1</source>
        <translation>a run was stopped while it put its output in place: the previous output is back in %1</translation>
    </message>
    <message>
        <source>cannot remove %1, left by a run that was stopped: %2</source>
        <translation>cannot remove %1, left by a run that was stopped: %2</translation>
    </message>
    <message>
        <source>removed %1, the output a stopped run had replaced</source>
        <translation>removed %1, the output a stopped run had replaced</translation>
    </message>
    <message>
        <source>cannot remove %1, left by a run that did not finish: %2</source>
        <translation>cannot remove %1, left by a run that did not finish: %2</translation>
    </message>
    <message>
        <source>removed %1, left by a run that did not finish</source>
        <translation>removed %1, left by a run that did not finish</translation>
    </message>
    <message>
        <source>another file system is mounted there</source>
        <translation>another file system is mounted there</translation>
    </message>
    <message>
        <source>not enough free space in %1: the output needs at least %2, %3 are free; nothing was written</source>
        <translation>not enough free space in %1: the output needs at least %2, %3 are free; nothing was written</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>cannot create %1: %2</translation>
    </message>
    <message>
        <source>cannot move %1 aside: %2</source>
        <translation>cannot move %1 aside: %2</translation>
    </message>
    <message>
        <source>cannot put the new output in place of %1: %2</source>
        <translation>cannot put the new output in place of %1: %2</translation>
    </message>
    <message>
        <source>cannot remove the previous output %1: %2; the next run removes it</source>
        <translation>cannot remove the previous output %1: %2; the next run removes it</translation>
    </message>
    <message>
        <source>cannot remove the preview of the previous output: %1</source>
        <translation>cannot remove the preview of the previous output: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n screen(s) from the picture library</source>
        <translation>
            <numerusform>%n screen from the picture library</numerusform>
            <numerusform>%n screens from the picture library</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n screen(s)</source>
        <translation>
            <numerusform>%n screen</numerusform>
            <numerusform>%n screens</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n icon(s)</source>
        <translation>
            <numerusform>%n icon</numerusform>
            <numerusform>%n icons</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n icon librar(y/ies)</source>
        <translation>
            <numerusform>%n icon library</numerusform>
            <numerusform>%n icon libraries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n icon librar(y/ies)</source>
        <translation>
            <numerusform>%1 of %n icon library</numerusform>
            <numerusform>%1 of %n icon libraries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n source picture(s) replaced by the picture library</source>
        <translation>
            <numerusform>%n source picture replaced by the picture library</numerusform>
            <numerusform>%n source pictures replaced by the picture library</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) copied</source>
        <translation>
            <numerusform>%n file copied</numerusform>
            <numerusform>%n files copied</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) written</source>
        <translation>
            <numerusform>%n file written</numerusform>
            <numerusform>%n files written</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) skipped</source>
        <translation>
            <numerusform>%n file skipped</numerusform>
            <numerusform>%n files skipped</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) replaced</source>
        <extracomment>files replaced by a later file with the same number or role</extracomment>
        <translation>
            <numerusform>%n file replaced</numerusform>
            <numerusform>%n files replaced</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) ignored</source>
        <extracomment>files of a kind this branch does not use (sounds in Branch B)</extracomment>
        <translation>
            <numerusform>%n file ignored</numerusform>
            <numerusform>%n files ignored</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) not used</source>
        <extracomment>files of a kind the display never uses (.hzk fonts, firmware)</extracomment>
        <translation>
            <numerusform>%n file not used</numerusform>
            <numerusform>%n files not used</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n warning(s)</source>
        <translation>
            <numerusform>%n warning</numerusform>
            <numerusform>%n warnings</numerusform>
        </translation>
    </message>
    <message>
        <source>, </source>
        <extracomment>between the counts of a run&apos;s summary</extracomment>
        <translation>, </translation>
    </message>
    <message>
        <source>cannot read the source folder %1: %2</source>
        <translation>cannot read the source folder %1: %2</translation>
    </message>
    <message>
        <source>%1 is a file; give the folder that holds it</source>
        <translation>%1 is a file; give the folder that holds it</translation>
    </message>
    <message>
        <source>picture %1: %2</source>
        <translation>picture %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n output(s) reused</source>
        <extracomment>outputs taken unchanged from the previous run&apos;s output instead of being made again</extracomment>
        <translation>
            <numerusform>%n output reused</numerusform>
            <numerusform>%n outputs reused</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Scan</name>
    <message>
        <source>replaced by %1, listed after it for the same role</source>
        <translation>replaced by %1, listed after it for the same role</translation>
    </message>
    <message>
        <source>a link to nothing (its target does not exist)</source>
        <translation>a link to nothing (its target does not exist)</translation>
    </message>
    <message>
        <source>not a regular file (a FIFO)</source>
        <translation>not a regular file (a FIFO)</translation>
    </message>
    <message>
        <source>not a regular file (a socket)</source>
        <translation>not a regular file (a socket)</translation>
    </message>
    <message>
        <source>not a regular file (a device)</source>
        <translation>not a regular file (a device)</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>a link to a file outside the source folder</source>
        <translation>a link to a file outside the source folder</translation>
    </message>
    <message>
        <source>a folder: only the files at the top of the source are read</source>
        <translation>a folder: only the files at the top of the source are read</translation>
    </message>
    <message>
        <source>the target uses only the 13 (or 30), 14 and 22 tables</source>
        <translation>the target uses only the 13 (or 30), 14 and 22 tables</translation>
    </message>
    <message>
        <source>a text file that is not a register text (*config*.txt)</source>
        <translation>a text file that is not a register text (*config*.txt)</translation>
    </message>
    <message>
        <source>a configuration file that is not a block file (t5*.cfg)</source>
        <translation>a configuration file that is not a block file (t5*.cfg)</translation>
    </message>
    <message>
        <source>the target does not use files without an extension</source>
        <translation>the target does not use files without an extension</translation>
    </message>
    <message>
        <source>the target does not use %1 files</source>
        <translation>the target does not use %1 files</translation>
    </message>
</context>
<context>
    <name>tessel::CCardDlg</name>
    <message>
        <source>写入SD卡 - %1</source>
        <translation>Write to SD card - %1</translation>
    </message>
    <message>
        <source>输出目录：</source>
        <translation>Output:</translation>
    </message>
    <message>
        <source>SD卡：</source>
        <translation>SD card:</translation>
    </message>
    <message>
        <source>%1（可用 %2 MB）</source>
        <translation>%1 (%2 MB free)</translation>
    </message>
    <message>
        <source>%1（%2，可用 %3 MB）</source>
        <translation>%1 (%2, %3 MB free)</translation>
    </message>
    <message>
        <source>其他文件夹...</source>
        <translation>Other folder...</translation>
    </message>
    <message>
        <source>SD卡根目录中的 private 目录将被替换；写入完成并校验后才会替换。</source>
        <translation>The private folder at the card&apos;s root will be replaced, only once everything is written and verified.</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>没有找到可移动的磁盘：请插入SD卡，或用“其他文件夹...”选择它的根目录。</source>
        <translation>No removable disk found: insert the SD card, or choose its root with &quot;Other folder...&quot;.</translation>
    </message>
    <message>
        <source>请选择SD卡的根目录：</source>
        <translation>Choose the root folder of the SD card:</translation>
    </message>
    <message>
        <source>请先选择SD卡。</source>
        <translation>Choose the SD card first.</translation>
    </message>
    <message>
        <source>正在写入……请勿拔出SD卡。</source>
        <translation>Writing... do not remove the SD card.</translation>
    </message>
    <message>
        <source>SD卡上的 %1 中有不是转换生成的文件（例如 %2）。
用本次的输出替换整个目录吗？</source>
        <translation>%1 on the SD card holds files that no conversion wrote (for example %2).
Replace the whole folder with this output?</translation>
    </message>
    <message>
        <source>正在校验：%1/%2 个文件，%3/%4 MB</source>
        <translation>Verifying: %1/%2 files, %3/%4 MB</translation>
    </message>
    <message>
        <source>正在写入：%1/%2 个文件，%3/%4 MB</source>
        <translation>Writing: %1/%2 files, %3/%4 MB</translation>
    </message>
    <message>
        <source>已写入 %1 个文件（%2 MB）并逐一校验无误：%3
现在可以安全移除SD卡。</source>
        <translation>%1 files (%2 MB) written and each read back equal: %3
The SD card can be removed safely now.</translation>
    </message>
    <message>
        <source>未写入：%1</source>
        <translation>Nothing written: %1</translation>
    </message>
    <message>
        <source>写入失败，SD卡上原有的 private 目录保持不变：%1</source>
        <translation>The copy failed; the private folder on the SD card is as it was: %1</translation>
    </message>
    <message>
        <source>已停止，SD卡上原有的 private 目录保持不变。</source>
        <translation>Stopped; the private folder on the SD card is as it was.</translation>
    </message>
</context>
<context>
    <name>tessel::CConfigDlg</name>
    <message>
        <source>松开触摸屏时，上传坐标通知0x72指令</source>
        <translation>Send the coordinate notification 0x72 when the touch screen is released</translation>
    </message>
    <message>
        <source>点击触摸屏，自动上传0x73/0x79指令
勾上时以100毫秒的间隔定时上传，直到松开;
未勾时仅在按下时上传一次。</source>
        <translation>Touching the screen sends 0x73/0x79 commands:
ticked, every 100 ms until released;
unticked, once when pressed.</translation>
    </message>
    <message>
        <source>点击触摸屏或键盘后，按照0x1E配置文件的要求进行触控、键控界面的切换</source>
        <translation>After a touch or a key press, switch pages as the 0x1E configuration file says</translation>
    </message>
    <message>
        <source>背光有触摸屏或键盘控制，同时用户也可以通过0x5E/0x5F指令强制开关</source>
        <translation>The touch screen or the keys control the backlight; the 0x5E/0x5F commands can also switch it</translation>
    </message>
    <message>
        <source>触摸屏或按键有蜂鸣器伴音</source>
        <translation>Beep on a touch or a key press</translation>
    </message>
    <message>
        <source>当选择时，偏转90度显示</source>
        <translation>When ticked, the display is turned by 90°</translation>
    </message>
    <message>
        <source>触控模式下，蜂鸣器只有在点击有效位置时，鸣叫一次</source>
        <translation>In touch mode, beep once only when a touch area is touched</translation>
    </message>
    <message>
        <source>按下触摸控件时，上传0x79指令</source>
        <translation>Send 0x79 when a touch control is pressed</translation>
    </message>
    <message>
        <source>0 触摸屏坐标回传不跟随Para1.2变化 
1 跟随Parad1.2(偏转90度显示)变化</source>
        <translation>0: touch coordinates do not follow Para1.2 
1: they follow Para1.2 (display turned by 90°)</translation>
    </message>
    <message>
        <source>0 显示偏转180度(反视角显示) 
1 正常视角显示</source>
        <translation>0: display turned by 180° (reverse viewing angle) 
1: normal viewing angle</translation>
    </message>
    <message>
        <source>配置参数</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>tessel::CSetupDlg</name>
    <message>
        <source>确定参数，如果不正确请手动修改！</source>
        <translation>Check the parameters and correct any that are wrong!</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud</translation>
    </message>
    <message>
        <source>使用触摸配置文件（未勾选时使用坐标通知）</source>
        <translation>Touch configuration file (else coordinates)</translation>
    </message>
    <message>
        <source>触摸通知</source>
        <translation>Touch notify</translation>
    </message>
    <message>
        <source>按下(0x73)</source>
        <translation>Down (0x73)</translation>
    </message>
    <message>
        <source>按下(0x73)+松开(0x72)</source>
        <translation>Down (0x73)+up (0x72)</translation>
    </message>
    <message>
        <source>长按通知(100毫秒间隔)</source>
        <translation>Long press (every 100 ms)</translation>
    </message>
    <message>
        <source>松开(0x78)</source>
        <translation>Up (0x78)</translation>
    </message>
    <message>
        <source>按下(0x79)+松开(0x78)</source>
        <translation>Down (0x79)+up (0x78)</translation>
    </message>
    <message>
        <source>触摸蜂鸣</source>
        <translation>Touch beep</translation>
    </message>
    <message>
        <source>不响</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>按压任意位置</source>
        <translation>On any touch</translation>
    </message>
    <message>
        <source>仅按压触摸有效区域</source>
        <translation>Only on touch areas</translation>
    </message>
    <message>
        <source>屏幕旋转</source>
        <translation>Screen rotation</translation>
    </message>
    <message>
        <source>不旋转</source>
        <translation>None</translation>
    </message>
    <message>
        <source>顺时钟90度</source>
        <translation>90° clockwise</translation>
    </message>
    <message>
        <source>顺时钟180度</source>
        <translation>180° clockwise</translation>
    </message>
    <message>
        <source>顺时钟270度</source>
        <translation>270° clockwise</translation>
    </message>
    <message>
        <source>显示文字时，自动用背景图片恢复</source>
        <translation>Restore the background picture behind text</translation>
    </message>
    <message>
        <source>延时200毫秒刷新，确保连续的指令同步刷新</source>
        <translation>Delay refresh by 200 ms</translation>
    </message>
</context>
<context>
    <name>tessel::CTesselApp</name>
    <message>
        <source>-o 需要一个输出目录</source>
        <translation>-o needs an output folder</translation>
    </message>
    <message>
        <source>用法：tessel [选项] [文件夹]

把 DWIN 串口屏工程的下载目录（DWIN_SET）转换为 KOVA_TFT 的 SD 卡目录。
文件夹：打开时填入的 DWIN_SET 路径。

选项：
  -o, --output 目录   输出目录（默认：文档目录/TESSEL）
  --lang zh|en        界面语言（默认：系统的语言）
  -h, --help          显示本说明
  --version           显示版本

在命令行转换或写入SD卡：tessel-cli --help
</source>
        <translation>usage: tessel [options] [FOLDER]

Converts the download folder of a DWIN serial display project (DWIN_SET) into the
KOVA_TFT SD-card layout.
FOLDER: the DWIN_SET path the dialog opens with.

options:
  -o, --output DIR    the output folder (default: Documents/TESSEL)
  --lang zh|en        the language of the dialogs (default: the system&apos;s)
  -h, --help          show this text
  --version           show the version

To convert or write an SD card on the command line: tessel-cli --help
</translation>
    </message>
    <message>
        <source>需要图形界面，但没有显示器（DISPLAY 和 WAYLAND_DISPLAY 都未设置）；在命令行转换请用 tessel-cli</source>
        <translation>needs a display, and there is none (neither DISPLAY nor WAYLAND_DISPLAY is set); on the command line, use tessel-cli</translation>
    </message>
</context>
<context>
    <name>tessel::CTesselDlg</name>
    <message>
        <source>DWIN_SET路径:</source>
        <translation>DWIN_SET:</translation>
    </message>
    <message>
        <source>浏览...</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>KOVA_TFT路径:</source>
        <translation>KOVA_TFT:</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>在浏览器中查看显示屏将显示的画面</source>
        <translation>See the screens in a browser, as the display will show them</translation>
    </message>
    <message>
        <source>说明：下列参数一般不需要修改，保持默认值即可。</source>
        <translation>Note: the defaults below suit most projects.</translation>
    </message>
    <message>
        <source>图片输出格式：</source>
        <translation>Picture format:</translation>
    </message>
    <message>
        <source>普通JPEG(默认)</source>
        <translation>JPEG (default)</translation>
    </message>
    <message>
        <source>高质量JPEG</source>
        <translation>High-quality JPEG</translation>
    </message>
    <message>
        <source>BMP位图(无损压缩)</source>
        <translation>BMP (lossless)</translation>
    </message>
    <message>
        <source>字库选择：</source>
        <translation>Font:</translation>
    </message>
    <message>
        <source>ASCII字符</source>
        <translation>ASCII characters</translation>
    </message>
    <message>
        <source>中英文</source>
        <translation>Chinese/English</translation>
    </message>
    <message>
        <source>数码管(正常)</source>
        <translation>7-segment</translation>
    </message>
    <message>
        <source>数码管(加粗)</source>
        <translation>7-segment bold</translation>
    </message>
    <message>
        <source>数码管(倾斜)</source>
        <translation>7-segment italic</translation>
    </message>
    <message>
        <source>图片旋转处理：</source>
        <translation>Rotation:</translation>
    </message>
    <message>
        <source>自动处理</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>不旋转</source>
        <translation>None</translation>
    </message>
    <message>
        <source>顺时钟90度</source>
        <translation>90° clockwise</translation>
    </message>
    <message>
        <source>顺时钟180度</source>
        <translation>180° clockwise</translation>
    </message>
    <message>
        <source>顺时钟270度</source>
        <translation>270° clockwise</translation>
    </message>
    <message>
        <source>字库显示：</source>
        <translation>Display:</translation>
    </message>
    <message>
        <source>矢量字体(抗锯齿)</source>
        <translation>Vector (smooth)</translation>
    </message>
    <message>
        <source>小号字用点阵字体</source>
        <translation>Bitmap (small)</translation>
    </message>
    <message>
        <source>消除图片中的水波纹（会降低压缩率，默认不勾选）</source>
        <translation>Remove water ripples (compresses less)</translation>
    </message>
    <message>
        <source>支持升级单个图片文件（默认不勾选）</source>
        <translation>Single picture files</translation>
    </message>
    <message>
        <source>开始转换</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>详细信息...</source>
        <translation>Details...</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>转换中止：%1</source>
        <translation>The conversion stopped: %1</translation>
    </message>
    <message>
        <source>打开输出目录</source>
        <translation>Open the output folder</translation>
    </message>
    <message>
        <source>文档目录/TESSEL</source>
        <translation>Documents/TESSEL</translation>
    </message>
    <message>
        <source>未确认设备参数，转换未完成</source>
        <translation>Device parameters not confirmed: the conversion did not finish</translation>
    </message>
    <message>
        <source>详细信息 - %1</source>
        <translation>Details - %1</translation>
    </message>
    <message>
        <source>分支 %1：%2
%3

</source>
        <translation>Branch %1: %2
%3

</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>没有可以打开输出目录的文件管理器：
%1</source>
        <translation>No file manager could open the output folder:
%1</translation>
    </message>
    <message>
        <source>无法生成预览：%1</source>
        <translation>Cannot make the preview: %1</translation>
    </message>
    <message>
        <source>没有可以打开预览的浏览器：
%1</source>
        <translation>No browser could open the preview:
%1</translation>
    </message>
    <message>
        <source>以下文件无法写入：</source>
        <translation>These files could not be written:</translation>
    </message>
    <message>
        <source>
……（另有 %1 个）</source>
        <translation>
... (%1 more)</translation>
    </message>
    <message>
        <source>请选择源目录：</source>
        <translation>Choose the source folder:</translation>
    </message>
    <message>
        <source>找不到帮助文档：
%1</source>
        <translation>The help document is missing:
%1</translation>
    </message>
    <message>
        <source>没有可以打开帮助文档的程序：
%1</source>
        <translation>No viewer could open the help document:
%1</translation>
    </message>
    <message>
        <source>转换正在进行。要停止转换吗？</source>
        <translation>A conversion is running. Stop it?</translation>
    </message>
    <message>
        <source>转换未完成，之前的输出保持不变。</source>
        <translation>The conversion did not finish; the previous output is unchanged.</translation>
    </message>
    <message>
        <source>转换已停止，之前的输出保持不变</source>
        <translation>Stopped; the previous output is unchanged</translation>
    </message>
    <message>
        <source>写入失败，之前的输出保持不变</source>
        <translation>Write failed; the previous output is unchanged</translation>
    </message>
    <message>
        <source>%1 类完成：%2</source>
        <translation>Branch %1 done: %2</translation>
    </message>
    <message>
        <source>更改...</source>
        <translation>Change...</translation>
    </message>
    <message>
        <source>选择输出目录</source>
        <translation>Choose the output folder</translation>
    </message>
    <message>
        <source>写入SD卡...</source>
        <translation>Write to SD card...</translation>
    </message>
    <message>
        <source>把 private 目录复制到SD卡根目录并校验</source>
        <translation>Copy the private folder to the SD card&apos;s root and verify it</translation>
    </message>
    <message>
        <source>请选择输出目录：</source>
        <translation>Choose the output folder:</translation>
    </message>
    <message>
        <source>更小的输出文件（转换较慢，默认不勾选）</source>
        <translation>Smaller files (converts slower)</translation>
    </message>
    <message>
        <source>图片和图标压缩得更小，显示屏加载更快，像素不变</source>
        <translation>Pictures and icons compressed smaller for the display to load sooner; the pixels stay the same</translation>
    </message>
</context>
<context>
    <name>tessel::GuiHost</name>
    <message>
        <source>输出目录 %1 中有不是转换生成的文件（例如 %2）。
删除整个目录并继续转换吗？</source>
        <translation>The output folder %1 holds files no conversion made (%2, for one).
Delete the whole folder and go on?</translation>
    </message>
    <message>
        <source>输出目录 %1 被锁定（锁文件 %2，%3），无法从这里检查那次转换。
确定没有其他转换正在写入吗？接管锁并继续转换吗？</source>
        <translation>The output folder %1 is locked (lock file %2, %3), and that conversion cannot be checked from here.
Are you sure no other conversion is writing into it? Take over the lock and convert?</translation>
    </message>
</context>
</TS>
