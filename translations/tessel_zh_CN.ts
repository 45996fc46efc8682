<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
        <translation>用法：tessel [选项] [FOLDER]

打开 Tessel 对话框，把 DWIN 工程目录（DWIN_SET）转换为 KOVA_TFT 的 SD 卡目录结
构。FOLDER（或其中的一个文件）是对话框启动时的源目录。

选项：
  -h, --help     显示本说明。
  -V, --version  显示版本。
  --lang &lt;LANG&gt;  对话框的语言：zh 或 en（默认：跟随系统）。

也接受 Qt 自身的选项（例如 -platform NAME）。
</translation>
    </message>
</context>
<context>
    <name>Card</name>
    <message>
        <source>the copy was stopped; the card&apos;s private folder is as it was</source>
        <translation>复制已停止；SD卡上的 private 目录保持原样</translation>
    </message>
    <message>
        <source>%1 holds no complete output (a private folder beside the marker file); convert a project into it first</source>
        <translation>%1 中没有完整的输出（标记文件旁的 private 目录）；请先把工程转换到这里</translation>
    </message>
    <message>
        <source>cannot use %1 as the card: %2</source>
        <translation>无法把 %1 用作SD卡：%2</translation>
    </message>
    <message>
        <source>cannot use %1 as the card: it is not a folder</source>
        <translation>无法把 %1 用作SD卡：它不是文件夹</translation>
    </message>
    <message>
        <source>cannot use %1 as the card: the output %2 lies there</source>
        <translation>无法把 %1 用作SD卡：输出目录 %2 就在那里</translation>
    </message>
    <message>
        <source>%1 holds %2, which no run writes; nothing was written</source>
        <translation>%1 中有 %2，它不是转换写入的；未写入任何内容</translation>
    </message>
    <message>
        <source>%1 has no room for the output: it needs %2 MB, %3 MB are free; nothing was written</source>
        <translation>%1 放不下输出：需要 %2 MB，只剩 %3 MB；未写入任何内容</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>无法创建 %1：%2</translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation>无法读取 %1</translation>
    </message>
    <message>
        <source>cannot flush %1 to the card: %2</source>
        <translation>无法把 %1 写入SD卡：%2</translation>
    </message>
    <message>
        <source>cannot read back %1: %2</source>
        <translation>无法读回 %1：%2</translation>
    </message>
    <message>
        <source>%1 on the card is not the output&apos;s %2: %3 bytes instead of %4</source>
        <translation>SD卡上的 %1 与输出中的 %2 不同：%3 字节而不是 %4 字节</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>%1 on the card is not the output&apos;s %2: its content differs</source>
        <translation>SD卡上的 %1 与输出中的 %2 不同：内容不一致</translation>
    </message>
    <message>
        <source>cannot remove %1: %2</source>
        <translation>无法删除 %1：%2</translation>
    </message>
    <message>
        <source>cannot rename %1: %2</source>
        <translation>无法重命名 %1：%2</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>picture</source>
        <translation>图片</translation>
    </message>
    <message>
        <source>icon library</source>
        <translation>图标库</translation>
    </message>
    <message>
        <source>sound</source>
        <translation>声音</translation>
    </message>
    <message>
        <source>table</source>
        <translation>表</translation>
    </message>
    <message>
        <source>register text</source>
        <translation>寄存器文本</translation>
    </message>
    <message>
        <source>block file</source>
        <translation>块配置文件</translation>
    </message>
    <message>
        <source>other</source>
        <translation>其他</translation>
    </message>
    <message>
        <source>not handled</source>
        <translation>未处理</translation>
    </message>
    <message>
        <source>converted</source>
        <translation>已转换</translation>
    </message>
    <message>
        <source>copied</source>
        <translation>已复制</translation>
    </message>
    <message>
        <source>read</source>
        <translation>已读取</translation>
    </message>
    <message>
        <source>replaced</source>
        <translation>被替换</translation>
    </message>
    <message>
        <source>ignored</source>
        <translation>忽略</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>跳过</translation>
    </message>
    <message>
        <source>%1: %2, %3</source>
        <extracomment>--verbose: an input&apos;s name, its kind and what became of it</extracomment>
        <translation>%1：%2，%3</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <extracomment>--verbose: an input&apos;s line, and why it was skipped, ignored or replaced</extracomment>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>out of memory: the run stopped, its output is incomplete</source>
        <translation>内存不足：本次转换已中止，输出不完整</translation>
    </message>
    <message>
        <source>the run stopped (%1), its output is incomplete</source>
        <translation>本次转换已中止（%1），输出不完整</translation>
    </message>
    <message>
        <source>Branch A because %1</source>
        <translation>分支A，因为%1</translation>
    </message>
    <message>
        <source>Branch B because %1</source>
        <translation>分支B，因为%1</translation>
    </message>
    <message>
        <source>Output: %1</source>
        <translation>输出：%1</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>警告：%1</translation>
    </message>
    <message>
        <source>converting %1/%2</source>
        <translation>正在转换 %1/%2</translation>
    </message>
    <message>
        <source>Device parameters read from the source:</source>
        <translation>从源目录读取的设备参数：</translation>
    </message>
    <message>
        <source>Confirm? [y/N] </source>
        <extracomment>the answer is y or yes, as typed in English</extracomment>
        <translation>确认？[y/N] </translation>
    </message>
    <message>
        <source>Output root (default: Documents/TESSEL); the run writes DIR/private/ and the marker file in DIR.</source>
        <translation>输出目录（默认：Documents/TESSEL）；本次转换在 DIR 中写入 DIR/private/ 和标记文件。</translation>
    </message>
    <message>
        <source>Picture rotation, clockwise: %1 (default auto).</source>
        <translation>图片旋转，顺时针：%1（默认 auto）。</translation>
    </message>
    <message>
        <source>Picture format: %1 (JPEG at quality 90 or 100, or lossless .zbmp; default zbmp).</source>
        <translation>图片格式：%1（质量 90 或 100 的 JPEG，或无损的 .zbmp；默认 zbmp）。</translation>
    </message>
    <message>
        <source>TrueType font for the target: %1 (default cjk).</source>
        <translation>目标所用字库（TrueType）：%1（默认 cjk）。</translation>
    </message>
    <message>
        <source>Dither pictures to RGB565 before encoding (removes water ripples, compresses less).</source>
        <translation>编码前将图片抖动为 RGB565（消除水波纹，压缩率较低）。</translation>
    </message>
    <message>
        <source>Branch B: write the pictures as bin/image.idx + bin/image.bin.</source>
        <translation>分支B：将图片写入为 bin/image.idx + bin/image.bin。</translation>
    </message>
    <message>
        <source>Folder with the TrueType files and pinyin.bin (default: the program&apos;s own).</source>
        <translation>存放 TrueType 文件和 pinyin.bin 的目录（默认：程序自带的）。</translation>
    </message>
    <message>
        <source>Accept the device parameters of Branch B as read.</source>
        <translation>按读取到的值接受分支B的设备参数。</translation>
    </message>
    <message>
        <source>Correct one device parameter (repeatable): baud=RATE touch-file=on|off coordinate-notify=0|1 touch-file-notify=0|1 long-press=on|off touch-beep=0|1|2 screen-rotation=0|90|180|270 restore-text-background=on|off delayed-refresh=on|off.</source>
        <translation>修正一个设备参数（可重复）：baud=RATE touch-file=on|off coordinate-notify=0|1 touch-file-notify=0|1 long-press=on|off touch-beep=0|1|2 screen-rotation=0|90|180|270 restore-text-background=on|off delayed-refresh=on|off。</translation>
    </message>
    <message>
        <source>Open the output folder at the end.</source>
        <translation>结束时打开输出目录。</translation>
    </message>
    <message>
        <source>Remove the output&apos;s private/ even when it holds files no run writes.</source>
        <translation>即使输出的 private/ 中有转换不会写入的文件，也将其删除。</translation>
    </message>
    <message>
        <source>Worker threads for pictures and icon libraries (default: the number of cores).</source>
        <translation>处理图片和图标库的工作线程数（默认：CPU 核心数）。</translation>
    </message>
    <message>
        <source>Print errors only.</source>
        <translation>只输出错误。</translation>
    </message>
    <message>
        <source>Print the run report as one JSON document on standard output (the lines for people stay on standard error).</source>
        <translation>在标准输出上以一个 JSON 文档输出本次转换的报告（给人看的各行仍在标准错误上）。</translation>
    </message>
    <message>
        <source>Show this text.</source>
        <translation>显示本说明。</translation>
    </message>
    <message>
        <source>The language of the messages: zh or en (default: the system&apos;s).</source>
        <translation>消息的语言：zh 或 en（默认：跟随系统）。</translation>
    </message>
    <message>
        <source>The DWIN project folder.</source>
        <translation>DWIN 工程目录。</translation>
    </message>
    <message>
        <source>--%1 takes %2, not &apos;%3&apos;</source>
        <translation>--%1 的值为 %2，而不是“%3”</translation>
    </message>
    <message>
        <source>convert needs the SOURCE folder</source>
        <translation>convert 需要 SOURCE 目录</translation>
    </message>
    <message>
        <source>too many arguments: %1</source>
        <translation>参数过多：%1</translation>
    </message>
    <message>
        <source>note: %1</source>
        <translation>提示：%1</translation>
    </message>
    <message>
        <source>Write DIR/index.html and its pictures (DIR/index_files/). DIR may not lie inside private/.</source>
        <translation>写入 DIR/index.html 及其图片（DIR/index_files/）。DIR 不能位于 private/ 内。</translation>
    </message>
    <message>
        <source>Read everything, write nothing, print each problem.</source>
        <translation>全部读取，不写入任何文件，输出每个问题。</translation>
    </message>
    <message>
        <source>Print the problems only.</source>
        <translation>只输出问题。</translation>
    </message>
    <message>
        <source>The language of the messages: zh or en.</source>
        <translation>消息的语言：zh 或 en。</translation>
    </message>
    <message>
        <source>The output root or its private folder.</source>
        <translation>输出目录或其 private目录。</translation>
    </message>
    <message>
        <source>Usage: %1</source>
        <translation>用法：%1</translation>
    </message>
    <message>
        <source>inspect needs the PATH of an output</source>
        <translation>inspect 需要一个输出的 PATH</translation>
    </message>
    <message>
        <source>inspect takes either -o DIR (write the page) or --check</source>
        <translation>inspect 需要 -o DIR（写出页面）或 --check 二者之一</translation>
    </message>
    <message>
        <source>the page folder %1 lies inside %2, which is copied to the SD card</source>
        <translation>页面目录 %1 位于 %2 内，而后者会被拷贝到 SD 卡</translation>
    </message>
    <message>
        <source>Page: %1</source>
        <translation>页面：%1</translation>
    </message>
    <message>
        <source>device parameters not confirmed; %1 is as it was</source>
        <translation>未确认设备参数；%1 保持不变</translation>
    </message>
    <message>
        <source>stopped by %1; %2 is as it was</source>
        <translation>已被 %1 停止；%2 保持不变</translation>
    </message>
    <message>
        <source>the run was stopped; %1 is as it was</source>
        <translation>转换已停止；%1 保持不变</translation>
    </message>
    <message>
        <source>the output could not be written; %1 is as it was</source>
        <translation>无法写入输出；%1 保持不变</translation>
    </message>
    <message>
        <source>Show the screens turned DEG degrees clockwise (0, 90, 180 or 270), instead of as config.txt turns the screen.</source>
        <translation>将画面顺时针旋转 DEG 度显示（0、90、180 或 270），代替 config.txt 设定的屏幕旋转。</translation>
    </message>
    <message>
        <source>The source folder (DWIN_SET) the output was made from, when no run record names it (an SD card&apos;s copy).</source>
        <translation>生成该输出的源文件夹（DWIN_SET），用于没有运行记录说明来源时（SD 卡上的副本）。</translation>
    </message>
    <message>
        <source>Read and draw on N threads (default: one per core).</source>
        <translation>用 N 个线程读取和绘制（默认：每个核心一个）。</translation>
    </message>
    <message>
        <source>replaced by the picture library</source>
        <translation>由图片库代替</translation>
    </message>
    <message>
        <source>not used by the display</source>
        <translation>显示屏不使用</translation>
    </message>
    <message>
        <source>Branch A: %1, %2 s</source>
        <translation>分支A：%1，用时 %2 秒</translation>
    </message>
    <message>
        <source>Branch B: %1, %2 s</source>
        <translation>分支B：%1，用时 %2 秒</translation>
    </message>
    <message>
        <source>see tessel-cli help</source>
        <translation>参见 tessel-cli help</translation>
    </message>
    <message>
        <source>see tessel-cli %1 --help</source>
        <translation>参见 tessel-cli %1 --help</translation>
    </message>
    <message>
        <source>convert a DWIN project folder (DWIN_SET) into the SD-card layout</source>
        <translation>把 DWIN 工程目录（DWIN_SET）转换为 SD 卡目录结构</translation>
    </message>
    <message>
        <source>show (-o DIR) or check (--check) a converted output</source>
        <translation>显示（-o DIR）或检查（--check）转换结果</translation>
    </message>
    <message>
        <source>show this text, or the options of a command</source>
        <translation>显示本说明，或某个命令的选项</translation>
    </message>
    <message>
        <source>Show the version.</source>
        <translation>显示版本。</translation>
    </message>
    <message>
        <source>Converts DWIN display projects for KOVA_TFT displays.</source>
        <translation>把 DWIN 显示屏工程转换为 KOVA_TFT 显示屏的格式。</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>命令：</translation>
    </message>
    <message>
        <source>tessel-cli help COMMAND (or tessel-cli COMMAND --help) shows the options of a command.</source>
        <translation>tessel-cli help COMMAND（或 tessel-cli COMMAND --help）显示某个命令的选项。</translation>
    </message>
    <message>
        <source>Font display: %1 (default vector). vector: the display draws all text from the TrueType outlines, smoothed. bitmap: it draws small text with pixel glyphs, sharp and without smoothing, and large text as before; config.txt gets the font-mode line RFC=18 (no effect when config.txt is a copy of the source&apos;s register text).</source>
        <translation>字库显示方式：%1（默认 vector）。vector：显示屏按 TrueType 轮廓绘制全部文字，带抗锯齿。bitmap：小号文字用点阵字形绘制，清晰、无抗锯齿，大号文字不变；config.txt 中加上字库模式一行 RFC=18（config.txt 是源寄存器文本的副本时无效）。</translation>
    </message>
    <message>
        <source>Print a line per input and what became of it, and a line per output it made.</source>
        <translation>每个输入输出一行，说明它的处理结果，它生成的每个输出各占一行。</translation>
    </message>
    <message>
        <source>Converts a DWIN project folder (DWIN_SET) into the KOVA_TFT SD-card layout.

Exit status: 0 done, 1 refused, 2 usage error, 3 parameters not confirmed, 4 the output is incomplete (some output could not be written).</source>
        <translation>把 DWIN 工程目录（DWIN_SET）转换为 KOVA_TFT 的 SD 卡目录结构。

退出状态：0 完成，1 拒绝，2 用法错误，3 参数未确认，4 输出不完整（部分输出无法写入）。</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>未知选项 %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 需要一个值</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 不接受值</translation>
    </message>
    <message>
        <source>help takes one of the commands, not &apos;%1&apos;</source>
        <translation>help 后面应为一个命令，而不是“%1”</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos; before the command</source>
        <translation>命令之前的未知选项“%1”</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>未知命令“%1”</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>选项：</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>参数：</translation>
    </message>
    <message>
        <source>Reads a Tessel output (the output root or its private folder, an SD card&apos;s copy too) and writes a page that shows what the display will show, or only checks it.

Exit status: 0 no problems found, 5 a fault (one line per problem; an output root that a run did not finish is one), 1 the page folder lies inside private/, 2 usage error, 4 the page could not be written.</source>
        <translation>读取 Tessel 的输出（输出根目录或其 private 文件夹，也可以是 SD 卡上的副本），写出一个页面，显示屏幕将显示的内容；或者只做检查。

退出状态：0 未发现问题，5 有错误（每个问题一行；未完成的运行留下的输出根目录也算一个），1 页面文件夹位于 private/ 之内，2 用法错误，4 页面无法写入。</translation>
    </message>
    <message>
        <source>%1, %2 (%3)</source>
        <translation>%1，%2（%3）</translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s)</source>
        <translation>
            <numerusform>%n 张图片</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n icon librar(y/ies)</source>
        <translation>
            <numerusform>%n 个图标库</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n icon(s)</source>
        <translation>
            <numerusform>%n 个图标</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: no problems found</source>
        <translation>%1：未发现问题</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message numerus="yes">
        <source>%n fault(s)</source>
        <translation>
            <numerusform>%n 处错误</numerusform>
        </translation>
    </message>
    <message>
        <source>Copies an output (private/ and the marker file) to the root of an SD card: into a
staging folder first, flushed to the card, read back and compared with the output,
and only then in place of the card&apos;s previous private/, which stays otherwise.

Exit status: 0 every file was verified, 1 refused (no room, files no run writes,
not a folder; nothing was written), 2 usage error, 4 a write or the read-back failed.</source>
        <translation>把输出（private/ 和标记文件）复制到SD卡根目录：先写入暂存目录，刷写到SD卡，
读回并与输出比较，之后才替换SD卡上原有的 private/；否则原有的保持不变。

退出状态：0 每个文件都已校验，1 拒绝（空间不足、有非转换写入的文件、
不是文件夹；未写入任何内容），2 用法错误，4 写入或读回失败。</translation>
    </message>
    <message>
        <source>Replace the card&apos;s private/ even when it holds files no run writes.</source>
        <translation>即使SD卡的 private/ 中有非转换写入的文件，也替换它。</translation>
    </message>
    <message>
        <source>Print the result as one JSON document on standard output.</source>
        <translation>在标准输出上以一个 JSON 文档打印结果。</translation>
    </message>
    <message>
        <source>The output root (where private/ is).</source>
        <translation>输出目录（private/ 所在的目录）。</translation>
    </message>
    <message>
        <source>The root folder of the SD card.</source>
        <translation>SD卡的根目录。</translation>
    </message>
    <message>
        <source>card needs the OUTPUT_ROOT and the CARD_ROOT</source>
        <translation>card 需要输出目录 OUTPUT_ROOT 和SD卡根目录 CARD_ROOT</translation>
    </message>
    <message>
        <source>reading back %1/%2 (%3 of %4 MB)</source>
        <translation>正在读回 %1/%2（%3/%4 MB）</translation>
    </message>
    <message>
        <source>writing %1/%2 (%3 of %4 MB)</source>
        <translation>正在写入 %1/%2（%3/%4 MB）</translation>
    </message>
    <message>
        <source>%1 files (%2 MB) written to %3 and read back equal; the card may be removed</source>
        <translation>%1 个文件（%2 MB）已写入 %3 并读回校验一致；现在可以移除SD卡</translation>
    </message>
    <message>
        <source>copy an output to an SD card and read it back</source>
        <translation>把输出拷贝到 SD 卡并读回校验</translation>
    </message>
    <message>
        <source>cannot write to standard output: %1</source>
        <translation>无法写入标准输出：%1</translation>
    </message>
    <message>
        <source>the write failed</source>
        <translation>写入失败</translation>
    </message>
    <message>
        <source>%1 (reused)</source>
        <translation>%1（沿用）</translation>
    </message>
    <message>
        <source>Compression of .zbmp pictures, pack blocks and icons: %1. default: zlib at its default level (the default). smallest: files several percent smaller for the display to load, at several times the CPU.</source>
        <translation>.zbmp 图片、图片包数据块和图标的压缩：%1。default：zlib 默认级别（默认）。smallest：文件小几个百分点，显示屏加载更快，CPU 耗时为数倍。</translation>
    </message>
    <message>
        <source>Convert every file again, even those the previous run&apos;s output holds unchanged.</source>
        <translation>所有文件都重新转换，即使上次运行的输出中该文件未变。</translation>
    </message>
    <message>
        <source>%1 replaces the card&apos;s private folder all the same</source>
        <translation>%1 仍会替换SD卡上的 private 目录</translation>
    </message>
    <message>
        <source>the device parameters need confirmation: run on a terminal, or pass %1 (with %2 NAME=VALUE to correct them)</source>
        <translation>设备参数需要确认：请在终端中运行，或加 %1（可用 %2 NAME=VALUE 修正参数）</translation>
    </message>
    <message>
        <source>the source configuration gives no valid baud rate (register 1 = %1); give one with %2 baud=RATE</source>
        <translation>源配置没有给出有效的波特率（寄存器 1 = %1）；请用 %2 baud=RATE 指定</translation>
    </message>
    <message>
        <source>%1 has no effect: a Branch A project takes its device parameters from its own configuration</source>
        <translation>%1 无效：分支A的工程从其自身的配置中取设备参数</translation>
    </message>
    <message>
        <source>if no run is writing there, %1 takes the lock over</source>
        <translation>如果没有转换正在写入，%1 可以接管该锁</translation>
    </message>
    <message>
        <source>%1 needs a folder</source>
        <translation>%1 需要一个目录</translation>
    </message>
    <message>
        <source>%1 takes a number from 1 to 256, not &apos;%2&apos;</source>
        <translation>%1 的值为 1 到 256 之间的数，而不是“%2”</translation>
    </message>
    <message>
        <source>%1 %2: %3</source>
        <extracomment>--set, the value given to it, and what is wrong with the value</extracomment>
        <translation>%1 %2：%3</translation>
    </message>
    <message>
        <source>%1 and %2 exclude each other</source>
        <translation>%1 和 %2 不能同时使用</translation>
    </message>
    <message>
        <source>%1 takes 0, 90, 180 or 270, not %2</source>
        <translation>%1 只接受 0、90、180 或 270，而不是 %2</translation>
    </message>
    <message>
        <source>%1 %2 is not a folder</source>
        <extracomment>--source and the folder given to it</extracomment>
        <translation>%1 %2 不是文件夹</translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>skipped %1: cannot read the configuration text; no config.txt written</source>
        <translation>跳过 %1：无法读取配置文本；未写入 config.txt</translation>
    </message>
    <message>
        <source>skipped %1: cannot read the configuration file; no config.txt written</source>
        <translation>跳过 %1：无法读取配置文件；未写入 config.txt</translation>
    </message>
    <message>
        <source>config.txt not written: baud index %1 is not one of the eight line speeds</source>
        <translation>未写入 config.txt：波特率序号 %1 不是八种波特率之一</translation>
    </message>
    <message>
        <source>setting &quot;%1&quot; has no &apos;=&apos;: expected NAME=VALUE</source>
        <translation>设置“%1”中没有“=”：应为 NAME=VALUE</translation>
    </message>
    <message>
        <source>invalid value &quot;%1&quot; for %2: expected one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200</source>
        <translation>%2 的值“%1”无效：应为 1200、2400、4800、9600、19200、38400、57600、115200 之一</translation>
    </message>
    <message>
        <source>invalid value &quot;%1&quot; for %2: expected on or off</source>
        <translation>%2 的值“%1”无效：应为 on 或 off</translation>
    </message>
    <message>
        <source>invalid value &quot;%1&quot; for %2: expected 0 or 1</source>
        <translation>%2 的值“%1”无效：应为 0 或 1</translation>
    </message>
    <message>
        <source>invalid value &quot;%1&quot; for %2: expected 0 (silent), 1 (anywhere) or 2 (valid areas only)</source>
        <translation>%2 的值“%1”无效：应为 0（静音）、1（任意位置）或 2（仅有效区域）</translation>
    </message>
    <message>
        <source>invalid value &quot;%1&quot; for %2: expected 0, 90, 180 or 270</source>
        <translation>%2 的值“%1”无效：应为 0、90、180 或 270</translation>
    </message>
    <message>
        <source>unknown setting &quot;%1&quot;: expected baud, touch-file, coordinate-notify, touch-file-notify, long-press, touch-beep, screen-rotation, restore-text-background or delayed-refresh</source>
        <translation>未知设置“%1”：应为 baud、touch-file、coordinate-notify、touch-file-notify、long-press、touch-beep、screen-rotation、restore-text-background 或 delayed-refresh</translation>
    </message>
    <message>
        <source>invalid (register 1 = %1)</source>
        <translation>无效（寄存器1 = %1）</translation>
    </message>
    <message>
        <source>invalid (code %1)</source>
        <translation>无效（代码 %1）</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>input/output error</source>
        <translation>输入/输出错误</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>无法创建 %1：%2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>stopped before %1 was complete</source>
        <translation>在 %1 写完之前已停止</translation>
    </message>
</context>
<context>
    <name>Font</name>
    <message>
        <source>no font: no font choice %1; the target gets no truefont/font.ttf</source>
        <translation>没有字库：不存在字库选项 %1；输出中没有 truefont/font.ttf</translation>
    </message>
    <message>
        <source>no font: %1 was not found; the target gets no truefont/font.ttf</source>
        <translation>没有字库：找不到 %1；输出中没有 truefont/font.ttf</translation>
    </message>
</context>
<context>
    <name>Host</name>
    <message>
        <source>源路径无效：%1</source>
        <translation>源路径无效：%1</translation>
    </message>
    <message>
        <source>没有找到图片：%1</source>
        <translation>没有找到图片：%1</translation>
    </message>
    <message>
        <source>没有找到字库font.ttf，需要手动配置：%1</source>
        <translation>没有找到字库font.ttf，需要手动配置：%1</translation>
    </message>
    <message>
        <source>源路径与输出路径重叠：%1 和 %2</source>
        <translation>源路径与输出路径重叠：%1 和 %2</translation>
    </message>
    <message>
        <source>源路径无效！</source>
        <translation>源路径无效！</translation>
    </message>
    <message>
        <source>没有找到图片！</source>
        <translation>没有找到图片！</translation>
    </message>
    <message>
        <source>没有找到字库font.ttf，需要手动配置！</source>
        <translation>没有找到字库font.ttf，需要手动配置！</translation>
    </message>
    <message>
        <source>源路径与输出路径重叠！</source>
        <translation>源路径与输出路径重叠！</translation>
    </message>
    <message>
        <source>找不到文档目录，无法输出！</source>
        <translation>找不到文档目录，无法输出！</translation>
    </message>
</context>
<context>
    <name>Icon</name>
    <message>
        <source>skipped icon %1 of %2: %3</source>
        <translation>跳过 %2 的图标 %1：%3</translation>
    </message>
    <message>
        <source>cannot make a picture of it</source>
        <translation>无法转换为图片</translation>
    </message>
    <message>
        <source>cannot make a picture of it (%1)</source>
        <translation>无法转换为图片（%1）</translation>
    </message>
    <message>
        <source>cannot decode picture</source>
        <translation>无法解码图片</translation>
    </message>
    <message>
        <source>skipped %1: cannot read icon library or it is too short</source>
        <translation>跳过 %1：无法读取图标库，或图标库太短</translation>
    </message>
    <message>
        <source>icon library %1 is damaged (%2): the icons after that point are left out</source>
        <translation>图标库 %1 已损坏（%2）：此处之后的图标被略去</translation>
    </message>
    <message>
        <source>abandoned icon library %1: out of memory</source>
        <translation>放弃图标库 %1：内存不足</translation>
    </message>
    <message>
        <source>cannot read it</source>
        <translation>无法读取</translation>
    </message>
    <message>
        <source>the picture library holds no picture that converts</source>
        <translation>图片库中没有可以转换的图片</translation>
    </message>
    <message>
        <source>offset table runs past the end of the file at slot %1</source>
        <translation>偏移表在第 %1 槽处超出文件末尾</translation>
    </message>
    <message>
        <source>slot %1 has an empty JPEG head</source>
        <translation>第 %1 槽的 JPEG 头为空</translation>
    </message>
    <message>
        <source>slot %1 reaches past the end of the file</source>
        <translation>第 %1 槽超出文件末尾</translation>
    </message>
    <message>
        <source>slot table runs past the end of the file at slot %1</source>
        <translation>槽表在第 %1 槽处超出文件末尾</translation>
    </message>
    <message>
        <source>icon number does not fit the icon file</source>
        <translation>图标编号超出图标文件的范围</translation>
    </message>
    <message>
        <source>icon size does not fit the icon file</source>
        <translation>图标尺寸超出图标文件的范围</translation>
    </message>
    <message>
        <source>pixel data does not match the icon size</source>
        <translation>像素数据与图标尺寸不符</translation>
    </message>
    <message>
        <source>cannot compress icon pixels</source>
        <translation>无法压缩图标像素</translation>
    </message>
    <message>
        <source>icon file would exceed 4 GiB</source>
        <translation>图标文件将超过 4 GiB</translation>
    </message>
    <message>
        <source>no such icon</source>
        <translation>没有这个图标</translation>
    </message>
    <message>
        <source>icon %1 of %2: %3</source>
        <translation>%2 的图标 %1：%3</translation>
    </message>
    <message>
        <source>skipped %1: cannot read it (%2)</source>
        <translation>跳过 %1：无法读取（%2）</translation>
    </message>
    <message>
        <source>skipped %1: %2</source>
        <extracomment>an icon library, and the limit it passes</extracomment>
        <translation>跳过 %1：%2</translation>
    </message>
</context>
<context>
    <name>Inspect</name>
    <message>
        <source>%1: %2</source>
        <extracomment>a file of the output, and what is wrong with it</extracomment>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <source>it is missing</source>
        <translation>缺失</translation>
    </message>
    <message>
        <source>its size cannot be read (%1)</source>
        <translation>无法读取其大小（%1）</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>无法读取</translation>
    </message>
    <message>
        <source>it changed while it was read</source>
        <translation>读取过程中文件发生了变化</translation>
    </message>
    <message>
        <source>%1/: cannot be listed (%2)</source>
        <translation>%1/：无法列出（%2）</translation>
    </message>
    <message>
        <source>N%1 or N%2</source>
        <translation>N%1 或 N%2</translation>
    </message>
    <message>
        <source>%1: not a name the display reads (%2)</source>
        <translation>%1：不是屏幕会读取的文件名（%2）</translation>
    </message>
    <message>
        <source>%1: picture %2 is also %3; the display shows only one</source>
        <translation>%1：图片 %2 同时也是 %3；屏幕只显示其中一个</translation>
    </message>
    <message>
        <source>zbmp, zlib</source>
        <translation>zbmp，zlib</translation>
    </message>
    <message>
        <source>zbmp, raw</source>
        <translation>zbmp，未压缩</translation>
    </message>
    <message>
        <source>%1: it is empty, the library has no icons</source>
        <translation>%1：文件为空，该图标库没有图标</translation>
    </message>
    <message>
        <source>pack, JPEG</source>
        <translation>图片包，JPEG</translation>
    </message>
    <message>
        <source>pack, zlib rows</source>
        <translation>图片包，zlib 行</translation>
    </message>
    <message>
        <source>config.txt: it is missing; the display keeps the settings it has</source>
        <translation>config.txt：缺失；屏幕保留其现有设置</translation>
    </message>
    <message>
        <source>truefont/: it is missing; the display has no font</source>
        <translation>truefont/：缺失；屏幕没有字库</translation>
    </message>
    <message>
        <source>%1 (named by truefont.ini): %2</source>
        <translation>%1（truefont.ini 指定）：%2</translation>
    </message>
    <message>
        <source>%1: no output here (neither a private/ folder nor config.txt, image/, icon/, truefont/ or bin/)</source>
        <translation>%1：这里没有输出（既没有 private/ 目录，也没有 config.txt、image/、icon/、truefont/ 或 bin/）</translation>
    </message>
    <message>
        <source>image/: there is no screen picture</source>
        <translation>image/：没有画面图片</translation>
    </message>
    <message>
        <source>its compressed data is empty</source>
        <translation>压缩数据为空</translation>
    </message>
    <message>
        <source>its %1 bytes of compressed data cannot hold the %2 bytes it declares</source>
        <translation>%1 字节的压缩数据不可能容纳其声明的 %2 字节</translation>
    </message>
    <message>
        <source>out of memory for its %1 bytes</source>
        <translation>内存不足，无法容纳其 %1 字节</translation>
    </message>
    <message>
        <source>zlib cannot start</source>
        <translation>zlib 无法启动</translation>
    </message>
    <message>
        <source>its compressed data holds more than the %1 bytes it declares</source>
        <translation>压缩数据多于其声明的 %1 字节</translation>
    </message>
    <message>
        <source>its compressed data holds %1 bytes, not the %2 it declares</source>
        <translation>压缩数据包含 %1 字节，而不是其声明的 %2 字节</translation>
    </message>
    <message>
        <source>%1 bytes follow the end of its compressed data</source>
        <translation>压缩数据结束后还有 %1 字节</translation>
    </message>
    <message>
        <source>its compressed data ends after %1 of the %2 bytes it declares (cut short?)</source>
        <translation>压缩数据只解出其声明的 %2 字节中的 %1 字节（被截断？）</translation>
    </message>
    <message>
        <source>out of memory while inflating it</source>
        <translation>解压时内存不足</translation>
    </message>
    <message>
        <source>its compressed data is damaged</source>
        <translation>压缩数据已损坏</translation>
    </message>
    <message>
        <source>its compressed data is damaged (zlib: %1)</source>
        <translation>压缩数据已损坏（zlib：%1）</translation>
    </message>
    <message>
        <source>it is %1 bytes, shorter than the 16-byte header</source>
        <translation>大小为 %1 字节，短于 16 字节的文件头</translation>
    </message>
    <message>
        <source>its header gives a size of %1 x %2</source>
        <translation>文件头给出的尺寸为 %1 x %2</translation>
    </message>
    <message>
        <source>its header&apos;s compression flag is %1, neither 0x00FF (zlib) nor 0x0000 (raw)</source>
        <translation>文件头的压缩标志为 %1，既不是 0x00FF（zlib）也不是 0x0000（未压缩）</translation>
    </message>
    <message>
        <source>header byte %1 is %2, not zero</source>
        <translation>文件头第 %1 字节为 %2，不是零</translation>
    </message>
    <message>
        <source>its raw rows are %1 bytes, %2 short of the %3 x %4 picture its header declares (cut short?)</source>
        <translation>未压缩的行数据为 %1 字节，比文件头声明的 %3 x %4 图片少 %2 字节（被截断？）</translation>
    </message>
    <message>
        <source>%1 bytes follow its last row</source>
        <translation>最后一行之后还有 %1 字节</translation>
    </message>
    <message>
        <source>it does not start with a JPEG start marker</source>
        <translation>不是以 JPEG 起始标记开头</translation>
    </message>
    <message>
        <source>it does not end with the JPEG end marker (cut short?)</source>
        <translation>不是以 JPEG 结束标记结尾（被截断？）</translation>
    </message>
    <message>
        <source>it is too large to decode</source>
        <translation>太大，无法解码</translation>
    </message>
    <message>
        <source>it is not a JPEG picture a decoder can read (%1)</source>
        <translation>不是解码器能读取的 JPEG 图片（%1）</translation>
    </message>
    <message>
        <source>it does not decode (%1)</source>
        <translation>无法解码（%1）</translation>
    </message>
    <message>
        <source>it decodes to %1 x %2, not the %3 x %4 it declares</source>
        <translation>解码后为 %1 x %2，而不是其声明的 %3 x %4</translation>
    </message>
    <message>
        <source>it is %1 bytes, shorter than the 8-byte header</source>
        <translation>大小为 %1 字节，短于 8 字节的文件头</translation>
    </message>
    <message>
        <source>it does not start with &quot;ZICO&quot;</source>
        <translation>不是以“ZICO”开头</translation>
    </message>
    <message>
        <source>its index is empty (a library without icons is a 0-byte file)</source>
        <translation>索引为空（没有图标的图标库是 0 字节的文件）</translation>
    </message>
    <message>
        <source>its index size %1 is not a multiple of 16</source>
        <translation>索引大小 %1 不是 16 的倍数</translation>
    </message>
    <message>
        <source>its index of %1 bytes runs past the end of the file (%2 bytes)</source>
        <translation>%1 字节的索引超出了文件末尾（文件 %2 字节）</translation>
    </message>
    <message>
        <source>entry %1 (id %2) repeats the id of entry %3</source>
        <translation>条目 %1（id %2）与条目 %3 的 id 重复</translation>
    </message>
    <message>
        <source>entry %1 (id %2) has kind %3, not 1</source>
        <translation>条目 %1（id %2）的类型为 %3，不是 1</translation>
    </message>
    <message>
        <source>entry %1 (id %2) has a size of %3 x %4</source>
        <translation>条目 %1（id %2）的尺寸为 %3 x %4</translation>
    </message>
    <message>
        <source>entry %1 (id %2) points past the end of the file (its block of %3 bytes at %4, the file %5 bytes)</source>
        <translation>条目 %1（id %2）指向文件末尾之外（其数据块 %3 字节，位于 %4，文件 %5 字节）</translation>
    </message>
    <message>
        <source>entry %1 (id %2) shares its data with entry %3</source>
        <translation>条目 %1（id %2）与条目 %3 共用数据</translation>
    </message>
    <message>
        <source>entry %1 (id %2): %3</source>
        <extracomment>an icon library&apos;s entry, and what is wrong with its data</extracomment>
        <translation>条目 %1（id %2）：%3</translation>
    </message>
    <message>
        <source>image.idx is empty</source>
        <translation>image.idx 为空</translation>
    </message>
    <message>
        <source>image.idx is %1 bytes, not a whole number of 16-byte entries</source>
        <translation>image.idx 为 %1 字节，不是 16 字节条目的整数倍</translation>
    </message>
    <message>
        <source>image.bin is empty</source>
        <translation>image.bin 为空</translation>
    </message>
    <message>
        <source>entry %1 holds the number %2 (an entry&apos;s number is its place in image.idx)</source>
        <translation>条目 %1 中的编号为 %2（条目的编号是它在 image.idx 中的位置）</translation>
    </message>
    <message>
        <source>entry %1 has kind %2, neither 0x04 (zlib rows) nor 0x08 (JPEG)</source>
        <translation>条目 %1 的类型为 %2，既不是 0x04（zlib 行）也不是 0x08（JPEG）</translation>
    </message>
    <message>
        <source>entry %1&apos;s address %2 lies before %3</source>
        <translation>条目 %1 的地址 %2 在 %3 之前</translation>
    </message>
    <message>
        <source>entry %1 has a size of %2 x %3</source>
        <translation>条目 %1 的尺寸为 %2 x %3</translation>
    </message>
    <message>
        <source>entry %1&apos;s last two bytes are not zero</source>
        <translation>条目 %1 的最后两个字节不是零</translation>
    </message>
    <message>
        <source>entry %1 has no data</source>
        <translation>条目 %1 没有数据</translation>
    </message>
    <message>
        <source>entry %1 points past the end of image.bin (%2 bytes at %3, image.bin %4 bytes)</source>
        <translation>条目 %1 指向 image.bin 末尾之外（%2 字节，位于 %3，image.bin 为 %4 字节）</translation>
    </message>
    <message>
        <source>entry %1 shares its data with entry %2</source>
        <translation>条目 %1 与条目 %2 共用数据</translation>
    </message>
    <message>
        <source>entry %1 points past the end of image.bin</source>
        <translation>条目 %1 指向 image.bin 末尾之外</translation>
    </message>
    <message>
        <source>entry %1: %2</source>
        <extracomment>a pack&apos;s entry, and what is wrong with its data</extracomment>
        <translation>条目 %1：%2</translation>
    </message>
    <message>
        <source>entry %1&apos;s JPEG is %2 x %3, its entry says %4 x %5</source>
        <translation>条目 %1 的 JPEG 为 %2 x %3，而条目给出的是 %4 x %5</translation>
    </message>
    <message>
        <source>has no register number after R</source>
        <translation>R 后面没有寄存器编号</translation>
    </message>
    <message>
        <source>has no &apos;=&apos; after %1</source>
        <translation>%1 后面没有“=”</translation>
    </message>
    <message>
        <source>gives %1 a value of more than 8 hex digits</source>
        <translation>给 %1 的值超过 8 位十六进制数</translation>
    </message>
    <message>
        <source>gives %1 no hex value</source>
        <translation>没有给 %1 十六进制值</translation>
    </message>
    <message>
        <source>line %1 (&quot;%2&quot;) %3</source>
        <extracomment>a line of config.txt, its text, and what is wrong with it</extracomment>
        <translation>第 %1 行（&quot;%2&quot;）%3</translation>
    </message>
    <message>
        <source>line %1 sets %2 again (line %3 set it first)</source>
        <translation>第 %1 行再次设置 %2（第 %3 行已先设置）</translation>
    </message>
    <message>
        <source>it has no R1 line (the baud rate)</source>
        <translation>没有 R1 行（波特率）</translation>
    </message>
    <message>
        <source>it has no R2 line (the touch and screen flags)</source>
        <translation>没有 R2 行（触摸与屏幕标志）</translation>
    </message>
    <message>
        <source>R1=%1 is none of the eight baud rates; the display is given that line speed</source>
        <translation>R1=%1 不是八种波特率之一；屏幕将使用该线路速率</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>使用触摸配置文件（未勾选时使用坐标通知）</source>
        <translation>使用触摸配置文件（未勾选时使用坐标通知）</translation>
    </message>
    <message>
        <source>触摸通知</source>
        <translation>触摸通知</translation>
    </message>
    <message>
        <source>长按通知(100毫秒间隔)</source>
        <translation>长按通知(100毫秒间隔)</translation>
    </message>
    <message>
        <source>触摸蜂鸣</source>
        <translation>触摸蜂鸣</translation>
    </message>
    <message>
        <source>屏幕旋转</source>
        <translation>屏幕旋转</translation>
    </message>
    <message>
        <source>显示文字时，自动用背景图片恢复</source>
        <translation>显示文字时，自动用背景图片恢复</translation>
    </message>
    <message>
        <source>延时200毫秒刷新，确保连续的指令同步刷新</source>
        <translation>延时200毫秒刷新，确保连续的指令同步刷新</translation>
    </message>
    <message>
        <source>%1 (R2 alone: no R3 line)</source>
        <translation>%1（仅 R2：没有 R3 行）</translation>
    </message>
    <message>
        <source>font0= names no file</source>
        <translation>font0= 没有指定文件</translation>
    </message>
    <message>
        <source>it has no [setting] section</source>
        <translation>没有 [setting] 节</translation>
    </message>
    <message>
        <source>it names no font (no font0= line in [setting])</source>
        <translation>没有指定字库（[setting] 中没有 font0= 行）</translation>
    </message>
    <message>
        <source>font0 names &quot;%1&quot;, not a file beside it</source>
        <translation>font0 指定的是“%1”，不是同一目录中的文件</translation>
    </message>
    <message>
        <source>it is %1 bytes, too short for a font</source>
        <translation>大小为 %1 字节，作为字库太短</translation>
    </message>
    <message>
        <source>its collection header is cut short</source>
        <translation>字库集合的文件头被截断</translation>
    </message>
    <message>
        <source>it is not a TrueType or OpenType font</source>
        <translation>不是 TrueType 或 OpenType 字库</translation>
    </message>
    <message>
        <source>its table directory lies past its end</source>
        <translation>表目录位于文件末尾之外</translation>
    </message>
    <message>
        <source>its table directory runs past its end</source>
        <translation>表目录超出了文件末尾</translation>
    </message>
    <message>
        <source>it has no name table</source>
        <translation>没有 name 表</translation>
    </message>
    <message>
        <source>its name table lies outside the file</source>
        <translation>name 表位于文件之外</translation>
    </message>
    <message>
        <source>its name records run past the name table</source>
        <translation>name 记录超出了 name 表</translation>
    </message>
    <message>
        <source>its name table names no font</source>
        <translation>name 表中没有字库名称</translation>
    </message>
    <message>
        <source>cannot write %1 (%2)</source>
        <translation>无法写入 %1（%2）</translation>
    </message>
    <message>
        <source>Problems (%1 faults, %2 notes)</source>
        <translation>问题（%1 个错误，%2 个提示）</translation>
    </message>
    <message>
        <source>note: %1</source>
        <translation>提示：%1</translation>
    </message>
    <message>
        <source>Screens (%1)</source>
        <translation>画面（%1）</translation>
    </message>
    <message>
        <source>No screen picture.</source>
        <translation>没有画面图片。</translation>
    </message>
    <message>
        <source>%1 cannot be shown</source>
        <translation>%1 无法显示</translation>
    </message>
    <message>
        <source>Icon libraries (%1)</source>
        <translation>图标库（%1）</translation>
    </message>
    <message>
        <source>No icon library.</source>
        <translation>没有图标库。</translation>
    </message>
    <message>
        <source>id %1</source>
        <translation>id %1</translation>
    </message>
    <message>
        <source>icon %1</source>
        <translation>图标 %1</translation>
    </message>
    <message>
        <source>damaged</source>
        <translation>已损坏</translation>
    </message>
    <message>
        <source>Picture pack (bin/image.idx, bin/image.bin): %1 entries</source>
        <translation>图片包（bin/image.idx，bin/image.bin）：%1 个条目</translation>
    </message>
    <message>
        <source>number</source>
        <translation>编号</translation>
    </message>
    <message>
        <source>kind</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>length</source>
        <translation>长度</translation>
    </message>
    <message>
        <source>state</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>%1 zlib rows</source>
        <translation>%1 zlib 行</translation>
    </message>
    <message>
        <source>%1 JPEG</source>
        <translation>%1 JPEG</translation>
    </message>
    <message>
        <source>Device parameters (config.txt)</source>
        <translation>设备参数（config.txt）</translation>
    </message>
    <message>
        <source>No config.txt could be read.</source>
        <translation>无法读取 config.txt。</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>--set name</source>
        <translation>--set 名称</translation>
    </message>
    <message>
        <source>value</source>
        <translation>值</translation>
    </message>
    <message>
        <source>Register lines</source>
        <translation>寄存器行</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>Font (truefont/)</source>
        <translation>字库（truefont/）</translation>
    </message>
    <message>
        <source>No font is named.</source>
        <translation>没有指定字库。</translation>
    </message>
    <message>
        <source>file</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>font</source>
        <translation>字库</translation>
    </message>
    <message>
        <source>(unreadable)</source>
        <translation>（无法读取）</translation>
    </message>
    <message>
        <source>the page folder %1 lies inside %2, which is copied to the SD card</source>
        <translation>页面目录 %1 位于 %2 内，而后者会被拷贝到 SD 卡</translation>
    </message>
    <message>
        <source>cannot create %1 (%2)</source>
        <translation>无法创建 %1（%2）</translation>
    </message>
    <message>
        <source>cannot create %1</source>
        <translation>无法创建 %1</translation>
    </message>
    <message>
        <source>What the display will show</source>
        <translation>屏幕将显示的内容</translation>
    </message>
    <message>
        <source>%1 screens, %2 icon libraries</source>
        <translation>%1 个画面，%2 个图标库</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>size</source>
        <comment>a picture&apos;s width and height</comment>
        <translation>尺寸</translation>
    </message>
    <message>
        <source>size</source>
        <comment>of a file</comment>
        <translation>尺寸</translation>
    </message>
    <message>
        <source>the source&apos;s register text sets no R2: the display keeps its own touch and screen flags</source>
        <translation>源寄存器文本没有设置 R2：屏幕保留其自身的触摸和屏幕标志</translation>
    </message>
    <message>
        <source>copied unchanged from the source&apos;s register text: %1</source>
        <translation>原样复制自源寄存器文本：%1</translation>
    </message>
    <message>
        <source>private/: incomplete: the run that wrote it did not finish (there is no %1 beside it)</source>
        <translation>private/：不完整：写入它的运行没有完成（旁边没有 %1）</translation>
    </message>
    <message>
        <source>%1: %2; the sources are not named</source>
        <translation>%1：%2；无法给出来源</translation>
    </message>
    <message>
        <source>%1: picture %2 differs visibly from its source (%3 dB, a channel off by up to %4 levels); the lossless format (zbmp) keeps it exact</source>
        <translation>%1：图片 %2 与其源图有明显差异（%3 dB，某一通道最多相差 %4 级）；无损格式（zbmp）可保持原样</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>内存不足</translation>
    </message>
    <message>
        <source>from %1, icon %2</source>
        <translation>来自 %1，图标 %2</translation>
    </message>
    <message>
        <source>from %1</source>
        <translation>来自 %1</translation>
    </message>
    <message>
        <source>in place of %1</source>
        <translation>代替 %1</translation>
    </message>
    <message>
        <source>stored turned %1°</source>
        <translation>存储时旋转了 %1°</translation>
    </message>
    <message>
        <source>No problems found.</source>
        <translation>未发现问题。</translation>
    </message>
    <message>
        <source>%1 of %2 screens are %3 × %4 (as stored); the others are marked.</source>
        <translation>%2 个画面中有 %1 个为 %3 × %4（按存储方向）；其余的已标出。</translation>
    </message>
    <message>
        <source>not the size of the other screens</source>
        <translation>与其他画面尺寸不同</translation>
    </message>
    <message>
        <source>against the source: %1 dB, largest error %2</source>
        <translation>与源图相比：%1 dB，最大误差 %2</translation>
    </message>
    <message>
        <source>on the display</source>
        <translation>屏幕上</translation>
    </message>
    <message>
        <source>source</source>
        <translation>源图</translation>
    </message>
    <message>
        <source>%1 icons, %2 (empty)</source>
        <translation>%1 个图标，%2（空）</translation>
    </message>
    <message>
        <source>%1 icons, %2</source>
        <translation>%1 个图标，%2</translation>
    </message>
    <message>
        <source>no problems found</source>
        <translation>未发现问题</translation>
    </message>
    <message>
        <source>Every screen and icon is shown turned %1° clockwise, as --rotation asks: as the display shows it.</source>
        <translation>按 --rotation 的要求，每个画面和图标都顺时针旋转 %1° 显示：即屏幕显示的样子。</translation>
    </message>
    <message>
        <source>config.txt sets no screen rotation: every screen and icon is shown as stored, as the display shows it.</source>
        <translation>config.txt 未设置屏幕旋转：每个画面和图标都按存储方向显示，即屏幕显示的样子。</translation>
    </message>
    <message>
        <source>config.txt turns the screen %1° clockwise: every screen and icon is shown turned so, as the display shows it.</source>
        <translation>config.txt 将屏幕顺时针旋转 %1°：每个画面和图标都这样旋转后显示，即屏幕显示的样子。</translation>
    </message>
    <message>
        <source>No config.txt gives the screen rotation: every screen and icon is shown as stored (--rotation turns them).</source>
        <translation>没有 config.txt 给出屏幕旋转：每个画面和图标都按存储方向显示（--rotation 可旋转它们）。</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>目录</translation>
    </message>
    <message>
        <source>Picture pack</source>
        <translation>图片包</translation>
    </message>
    <message>
        <source>Differ visibly from their sources: %1. The lossless format (zbmp) keeps them exact.</source>
        <translation>与源图有明显差异：%1。无损格式（zbmp）可保持原样。</translation>
    </message>
    <message>
        <source>Every screen is %1 × %2 (as stored).</source>
        <translation>所有画面都是 %1 × %2（按存储方向）。</translation>
    </message>
    <message>
        <source>%1 is a link: the page is never written through a link</source>
        <translation>%1 是一个链接：页面从不通过链接写入</translation>
    </message>
    <message>
        <source>%1 is a folder, where the page writes a file</source>
        <translation>%1 是一个目录，而页面要在此处写入文件</translation>
    </message>
    <message>
        <source>%1 is not a regular file (a FIFO or a device), where the page writes a file</source>
        <translation>%1 不是普通文件（FIFO 或设备），而页面要在此处写入文件</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 不是目录</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>--lang needs a language: zh or en</source>
        <translation>--lang 需要指定语言：zh 或 en</translation>
    </message>
    <message>
        <source>--lang takes zh or en, not &apos;%1&apos;</source>
        <translation>--lang 的值应为 zh 或 en，而不是“%1”</translation>
    </message>
</context>
<context>
    <name>Limits</name>
    <message>
        <source>picture is %1 x %2 pixels, larger than %3 on a side</source>
        <translation>图片为 %1 x %2 像素，边长超过 %3</translation>
    </message>
    <message>
        <source>picture is %1 x %2 pixels, more than %3 MiB decoded</source>
        <translation>图片为 %1 x %2 像素，解码后超过 %3 MiB</translation>
    </message>
    <message>
        <source>a JPEG of more than %1 scans</source>
        <translation>JPEG 的扫描超过 %1 次</translation>
    </message>
    <message>
        <source>a run-length BMP of %1 x %2 pixels in %3 bytes of data (at most %4 pixels a byte are taken)</source>
        <translation>游程编码的 BMP 为 %1 x %2 像素，数据只有 %3 字节（每字节最多接受 %4 个像素）</translation>
    </message>
    <message>
        <source>icon library of %1 bytes is larger than the limit of %2 MiB</source>
        <translation>图标库大小为 %1 字节，超过 %2 MiB 的上限</translation>
    </message>
    <message>
        <source>its icons hold more than %1 bytes of RGB565 pixels, more than the limit of %2 MiB</source>
        <translation>其图标的 RGB565 像素超过 %1 字节，超出 %2 MiB 的上限</translation>
    </message>
    <message>
        <source>its icons hold %1 bytes of RGB565 pixels, more than the limit of %2 MiB</source>
        <translation>其图标的 RGB565 像素有 %1 字节，超出 %2 MiB 的上限</translation>
    </message>
    <message>
        <source>it is %1 bytes, more than the %2 read for it</source>
        <translation>大小为 %1 字节，超过为其读取的上限 %2</translation>
    </message>
</context>
<context>
    <name>Lock</name>
    <message>
        <source>%1 min ago</source>
        <translation>%1 分钟前</translation>
    </message>
    <message>
        <source>cannot create the output lock %1: %2</source>
        <translation>无法创建输出锁 %1：%2</translation>
    </message>
    <message>
        <source>the output lock %1 is a folder, not a lock file; remove it if no run is writing there</source>
        <translation>输出锁 %1 是一个目录，不是锁文件；如果没有转换正在写入，请删除它</translation>
    </message>
    <message>
        <source>the output lock %1 is a link, not a lock file; remove it if no run is writing there</source>
        <translation>输出锁 %1 是一个链接，不是锁文件；如果没有转换正在写入，请删除它</translation>
    </message>
    <message>
        <source>the output lock %1 is not a regular file; remove it if no run is writing there</source>
        <translation>输出锁 %1 不是普通文件；如果没有转换正在写入，请删除它</translation>
    </message>
    <message>
        <source>unreadable: %1</source>
        <translation>无法读取：%1</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>空文件</translation>
    </message>
    <message>
        <source>not a lock this program wrote</source>
        <translation>不是本程序写的锁</translation>
    </message>
    <message>
        <source>process %1 on %2 has ended</source>
        <translation>%2 上的进程 %1 已结束</translation>
    </message>
    <message>
        <source>another run is writing into this output (process %1 on %2, lock file %3); try again when it has finished</source>
        <translation>另一个转换正在写入此输出（%2 上的进程 %1，锁文件 %3）；请在它结束后再试</translation>
    </message>
    <message>
        <source>taken over from process %1 on %2</source>
        <translation>已从 %2 上的进程 %1 接管</translation>
    </message>
    <message>
        <source>left by process %1 on %2 %3</source>
        <translation>由 %2 上的进程 %1 于 %3 留下</translation>
    </message>
    <message>
        <source>cannot remove the stale output lock %1 (%2): %3</source>
        <translation>无法删除过期的输出锁 %1（%2）：%3</translation>
    </message>
    <message>
        <source>removed the stale output lock %1: %2</source>
        <translation>已删除过期的输出锁 %1：%2</translation>
    </message>
    <message>
        <source>another run took the output lock %1 at the same moment; try again when it has finished</source>
        <translation>另一个转换同时取得了输出锁 %1；请在它结束后再试</translation>
    </message>
    <message>
        <source>process %1 on %2</source>
        <translation>%2 上的进程 %1</translation>
    </message>
    <message>
        <source>the output lock %1 names process %2 on %3, which cannot be checked from here; nothing was written</source>
        <translation>输出锁 %1 属于 %3 上的进程 %2，无法从这里检查该进程；未写入任何内容</translation>
    </message>
    <message>
        <source>process %1 on %2, taken %3</source>
        <translation>%2 上的进程 %1，于 %3 取得</translation>
    </message>
    <message>
        <source>the output lock %1 was taken by process %2 on %3 %4; that machine&apos;s run cannot be checked from here, and its lock counts as stale after an hour; nothing was written</source>
        <translation>输出锁 %1 由 %3 上的进程 %2 于 %4 取得；无法从这里检查那台机器上的转换，该锁一小时后视为过期；未写入任何内容</translation>
    </message>
</context>
<context>
    <name>Picture</name>
    <message>
        <source>JPEG: picture has no pixels</source>
        <translation>JPEG：图片没有像素</translation>
    </message>
    <message>
        <source>JPEG: out of memory</source>
        <translation>JPEG：内存不足</translation>
    </message>
    <message>
        <source>JPEG: %1</source>
        <translation>JPEG：%1</translation>
    </message>
    <message>
        <source>the file ends inside its header</source>
        <translation>文件在文件头内就结束了</translation>
    </message>
    <message>
        <source>the file ends after %1 of the %2 bytes its header declares</source>
        <translation>文件头声明 %2 字节，文件只有 %1 字节</translation>
    </message>
    <message>
        <source>the file ends before its end-of-image marker (a cut JPEG)</source>
        <translation>文件在图像结束标记之前结束（JPEG 不完整）</translation>
    </message>
    <message>
        <source>cannot decode it (%1)</source>
        <translation>无法解码（%1）</translation>
    </message>
    <message>
        <source>cut short: %1</source>
        <translation>文件不完整：%1</translation>
    </message>
    <message>
        <source>refused: %1</source>
        <translation>拒绝：%1</translation>
    </message>
    <message>
        <source>cannot decode it (no pixels)</source>
        <translation>无法解码（没有像素）</translation>
    </message>
    <message>
        <source>out of memory while decoding it</source>
        <translation>解码时内存不足</translation>
    </message>
    <message>
        <source>cannot read it (or it is larger than 2 GiB)</source>
        <translation>无法读取（或文件大于 2 GiB）</translation>
    </message>
    <message>
        <source>cannot decode it (not a regular file)</source>
        <translation>无法解码（不是普通文件）</translation>
    </message>
    <message>
        <source>skipped picture %1: %2</source>
        <translation>跳过图片 %1：%2</translation>
    </message>
    <message>
        <source>its number %1 is outside 0..65535, the range of the picture pack</source>
        <translation>编号 %1 超出图片包的范围 0..65535</translation>
    </message>
    <message>
        <source>its size %1 x %2 does not fit the picture pack</source>
        <translation>尺寸 %1 x %2 超出图片包的范围</translation>
    </message>
    <message>
        <source>no data</source>
        <translation>没有数据</translation>
    </message>
    <message>
        <source>its data of %1 bytes passes the picture pack&apos;s limit of %2</source>
        <translation>数据有 %1 字节，超过图片包的上限 %2</translation>
    </message>
    <message>
        <source>the picture pack is full</source>
        <translation>图片包已满</translation>
    </message>
    <message>
        <source>out of memory while preparing it</source>
        <translation>准备时内存不足</translation>
    </message>
    <message>
        <source>cannot encode it as .zbmp</source>
        <translation>无法编码为 .zbmp</translation>
    </message>
    <message>
        <source>cannot compress its pixels</source>
        <translation>无法压缩像素</translation>
    </message>
    <message>
        <source>out of memory while converting it</source>
        <translation>转换时内存不足</translation>
    </message>
    <message>
        <source>cannot read it</source>
        <translation>无法读取</translation>
    </message>
    <message>
        <source>cannot read it (%1)</source>
        <translation>无法读取（%1）</translation>
    </message>
</context>
<context>
    <name>Record</name>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>它大于 %1 字节</translation>
    </message>
    <message>
        <source>it is not JSON (%1 at byte %2)</source>
        <translation>它不是 JSON（第 %2 字节处：%1）</translation>
    </message>
    <message>
        <source>it is not a run record</source>
        <translation>它不是运行记录</translation>
    </message>
    <message>
        <source>it has no version</source>
        <translation>它没有版本号</translation>
    </message>
    <message>
        <source>it lists no outputs</source>
        <translation>它没有列出输出</translation>
    </message>
    <message>
        <source>it lists more than %1 outputs</source>
        <translation>它列出了超过 %1 个输出</translation>
    </message>
    <message>
        <source>its entry for %1 is not an output&apos;s</source>
        <translation>它关于 %1 的条目不是输出的条目</translation>
    </message>
    <message>
        <source>its entry for %1 names a source wrongly</source>
        <translation>它关于 %1 的条目给出的来源有误</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>它不是普通文件</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>它无法读取</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>replaced by %1, which has the same number</source>
        <translation>被 %1 替换，两者编号相同</translation>
    </message>
    <message>
        <source>same number: %1 is used for %2, %3 is not</source>
        <translation>编号相同：%2 使用 %1，未使用 %3</translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source>the source holds the 14 table (%1) and the 13 table (%2)</source>
        <translation>源目录中有14表（%1）和13表（%2）</translation>
    </message>
    <message>
        <source>the source holds neither the 14 nor the 13 table</source>
        <translation>源目录中既没有14表，也没有13表</translation>
    </message>
    <message>
        <source>the source holds no 14 table</source>
        <translation>源目录中没有14表</translation>
    </message>
    <message>
        <source>the source holds no 13 (or 30) table</source>
        <translation>源目录中没有13表（或30表）</translation>
    </message>
    <message>
        <source>cannot use %1 as the output folder: it is not a folder</source>
        <translation>无法将 %1 用作输出目录：它不是目录</translation>
    </message>
    <message>
        <source>cannot use %1 as the output folder: %2</source>
        <translation>无法将 %1 用作输出目录：%2</translation>
    </message>
    <message>
        <source>cannot write into %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>%1 holds %2, which no run writes; nothing was removed (--force removes it)</source>
        <translation>%1 中有 %2，它不是转换写入的；未删除任何内容（--force 会删除它）</translation>
    </message>
    <message>
        <source>cannot remove all of the previous output in %1: %2 is still there (%3); nothing was written</source>
        <translation>无法删除 %1 中先前的全部输出：%2 仍在（%3）；未写入任何内容</translation>
    </message>
    <message>
        <source>not used: %1, %2</source>
        <translation>未使用：%1，%2</translation>
    </message>
    <message>
        <source>skipped %1: %2</source>
        <translation>跳过 %1：%2</translation>
    </message>
    <message>
        <source>a Branch B project copies no sounds</source>
        <translation>分支B项目不复制声音</translation>
    </message>
    <message>
        <source>Branch B uses no 14 table</source>
        <translation>分支B不使用14表</translation>
    </message>
    <message>
        <source>Branch B uses no 22 table</source>
        <translation>分支B不使用22表</translation>
    </message>
    <message>
        <source>ignored %1: %2</source>
        <translation>忽略 %1：%2</translation>
    </message>
    <message>
        <source>the register text is copied as config.txt instead</source>
        <translation>改为将寄存器文本复制为 config.txt</translation>
    </message>
    <message>
        <source>the bitmap font display has no effect: config.txt is a copy of %1</source>
        <translation>点阵字体显示方式不起作用：config.txt 是 %1 的副本</translation>
    </message>
    <message>
        <source>the bitmap font display has no effect: no config.txt is written</source>
        <translation>点阵字体显示方式不起作用：不写入 config.txt</translation>
    </message>
    <message>
        <source>the picture pack is for Branch B projects: this Branch A project gets single picture files</source>
        <translation>图片包只用于分支B项目：此分支A项目输出单个图片文件</translation>
    </message>
    <message>
        <source>the block file names icon library %1 as the picture library: its icons are the screen pictures</source>
        <translation>块配置文件将图标库 %1 指定为图片库：其图标即屏幕图片</translation>
    </message>
    <message>
        <source>the block file names icon library %1 as the picture library, and the source holds none</source>
        <translation>块配置文件将图标库 %1 指定为图片库，但源目录中没有该图标库</translation>
    </message>
    <message>
        <source>no screen pictures: the block file names icon library %1 as the picture library, and the source holds none</source>
        <translation>没有屏幕图片：块配置文件将图标库 %1 指定为图片库，但源目录中没有该图标库</translation>
    </message>
    <message>
        <source>the register text gives the device parameters instead</source>
        <translation>改由寄存器文本提供设备参数</translation>
    </message>
    <message>
        <source>the device parameters were read from it</source>
        <translation>已从中读取设备参数</translation>
    </message>
    <message>
        <source>the device parameters hold no valid baud rate; config.txt not written</source>
        <translation>设备参数中没有有效的波特率；未写入 config.txt</translation>
    </message>
    <message>
        <source>skipped picture %1: %2</source>
        <translation>跳过图片 %1：%2</translation>
    </message>
    <message>
        <source>replaced by %1, which has the same number</source>
        <translation>被 %1 替换，两者编号相同</translation>
    </message>
    <message>
        <source>same number: %1 is used for picture %2 of the picture pack, %3 is not</source>
        <translation>编号相同：图片包的图片 %2 使用 %1，未使用 %3</translation>
    </message>
    <message>
        <source>odd size: picture %1 is %2 x %3, the other %4 pictures are %5 x %6</source>
        <translation>尺寸不一致：图片 %1 为 %2 x %3，其他 %4 张图片为 %5 x %6</translation>
    </message>
    <message>
        <source>the run ended before it came to this input</source>
        <translation>本次转换在处理到此输入之前已结束</translation>
    </message>
    <message>
        <source>not used by this run</source>
        <translation>本次转换未使用</translation>
    </message>
    <message>
        <source>the run ended before its output was put in place</source>
        <translation>转换在输出就位之前结束</translation>
    </message>
    <message>
        <source>%1 is still there (%2)</source>
        <translation>%1 仍然存在（%2）</translation>
    </message>
    <message>
        <source>cannot put %1 back in place of %2: %3</source>
        <translation>无法将 %1 放回 %2：%3</translation>
    </message>
    <message>
        <source>a run was stopped while it put its output in place: its complete output is now %1</source>
        <translation>一次转换在放置输出时被停止：它的完整输出现在是 %1</translation>
    </message>
    <message>
        <source>a run was stopped while it put its output in place: the previous output is back in %1</source>
        <translation>一次转换在放置输出时被停止：之前的输出已放回 %1</translation>
    </message>
    <message>
        <source>cannot remove %1, left by a run that was stopped: %2</source>
        <translation>无法删除被停止的转换留下的 %1：%2</translation>
    </message>
    <message>
        <source>removed %1, the output a stopped run had replaced</source>
        <translation>已删除 %1，即被停止的转换替换掉的输出</translation>
    </message>
    <message>
        <source>cannot remove %1, left by a run that did not finish: %2</source>
        <translation>无法删除未完成的转换留下的 %1：%2</translation>
    </message>
    <message>
        <source>removed %1, left by a run that did not finish</source>
        <translation>已删除未完成的转换留下的 %1</translation>
    </message>
    <message>
        <source>another file system is mounted there</source>
        <translation>那里挂载了另一个文件系统</translation>
    </message>
    <message>
        <source>not enough free space in %1: the output needs at least %2, %3 are free; nothing was written</source>
        <translation>%1 的可用空间不足：输出至少需要 %2，可用 %3；未写入任何内容</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>无法创建 %1：%2</translation>
    </message>
    <message>
        <source>cannot move %1 aside: %2</source>
        <translation>无法移开 %1：%2</translation>
    </message>
    <message>
        <source>cannot put the new output in place of %1: %2</source>
        <translation>无法用新输出替换 %1：%2</translation>
    </message>
    <message>
        <source>cannot remove the previous output %1: %2; the next run removes it</source>
        <translation>无法删除之前的输出 %1：%2；下次转换会删除它</translation>
    </message>
    <message>
        <source>cannot remove the preview of the previous output: %1</source>
        <translation>无法删除之前输出的预览：%1</translation>
    </message>
    <message numerus="yes">
        <source>%n screen(s) from the picture library</source>
        <translation>
            <numerusform>%n 个画面（来自图片库）</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n screen(s)</source>
        <translation>
            <numerusform>%n 个画面</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n icon(s)</source>
        <translation>
            <numerusform>%n 个图标</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n icon librar(y/ies)</source>
        <translation>
            <numerusform>%n 个图标库</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n icon librar(y/ies)</source>
        <translation>
            <numerusform>%1/%n 个图标库</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n source picture(s) replaced by the picture library</source>
        <translation>
            <numerusform>%n 张源图片由图片库代替</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) copied</source>
        <translation>
            <numerusform>复制 %n 个文件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) written</source>
        <translation>
            <numerusform>写入 %n 个文件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) skipped</source>
        <translation>
            <numerusform>跳过 %n 个文件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) replaced</source>
        <extracomment>files replaced by a later file with the same number or role</extracomment>
        <translation>
            <numerusform>%n 个文件被替换</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) ignored</source>
        <extracomment>files of a kind this branch does not use (sounds in Branch B)</extracomment>
        <translation>
            <numerusform>忽略 %n 个文件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) not used</source>
        <extracomment>files of a kind the display never uses (.hzk fonts, firmware)</extracomment>
        <translation>
            <numerusform>%n 个显示屏不用的文件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n warning(s)</source>
        <translation>
            <numerusform>%n 条警告</numerusform>
        </translation>
    </message>
    <message>
        <source>, </source>
        <extracomment>between the counts of a run&apos;s summary</extracomment>
        <translation>，</translation>
    </message>
    <message>
        <source>cannot read the source folder %1: %2</source>
        <translation>无法读取源目录 %1：%2</translation>
    </message>
    <message>
        <source>%1 is a file; give the folder that holds it</source>
        <translation>%1 是一个文件；请给出包含它的目录</translation>
    </message>
    <message>
        <source>picture %1: %2</source>
        <translation>图片 %1：%2</translation>
    </message>
    <message numerus="yes">
        <source>%n output(s) reused</source>
        <extracomment>outputs taken unchanged from the previous run&apos;s output instead of being made again</extracomment>
        <translation>
            <numerusform>沿用 %n 个输出</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Scan</name>
    <message>
        <source>replaced by %1, listed after it for the same role</source>
        <translation>被排在其后、作用相同的 %1 替换</translation>
    </message>
    <message>
        <source>a link to nothing (its target does not exist)</source>
        <translation>指向不存在目标的链接</translation>
    </message>
    <message>
        <source>not a regular file (a FIFO)</source>
        <translation>不是普通文件（FIFO）</translation>
    </message>
    <message>
        <source>not a regular file (a socket)</source>
        <translation>不是普通文件（套接字）</translation>
    </message>
    <message>
        <source>not a regular file (a device)</source>
        <translation>不是普通文件（设备）</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <source>a link to a file outside the source folder</source>
        <translation>指向源目录之外文件的链接</translation>
    </message>
    <message>
        <source>a folder: only the files at the top of the source are read</source>
        <translation>是目录：只读取源目录顶层的文件</translation>
    </message>
    <message>
        <source>the target uses only the 13 (or 30), 14 and 22 tables</source>
        <translation>目标只使用13表（或30表）、14表和22表</translation>
    </message>
    <message>
        <source>a text file that is not a register text (*config*.txt)</source>
        <translation>不是寄存器文本（*config*.txt）的文本文件</translation>
    </message>
    <message>
        <source>a configuration file that is not a block file (t5*.cfg)</source>
        <translation>不是块配置文件（t5*.cfg）的配置文件</translation>
    </message>
    <message>
        <source>the target does not use files without an extension</source>
        <translation>目标不使用没有扩展名的文件</translation>
    </message>
    <message>
        <source>the target does not use %1 files</source>
        <translation>目标不使用 %1 文件</translation>
    </message>
</context>
<context>
    <name>tessel::CCardDlg</name>
    <message>
        <source>写入SD卡 - %1</source>
        <translation>写入SD卡 - %1</translation>
    </message>
    <message>
        <source>输出目录：</source>
        <translation>输出目录：</translation>
    </message>
    <message>
        <source>SD卡：</source>
        <translation>SD卡：</translation>
    </message>
    <message>
        <source>%1（可用 %2 MB）</source>
        <translation>%1（可用 %2 MB）</translation>
    </message>
    <message>
        <source>%1（%2，可用 %3 MB）</source>
        <translation>%1（%2，可用 %3 MB）</translation>
    </message>
    <message>
        <source>其他文件夹...</source>
        <translation>其他文件夹...</translation>
    </message>
    <message>
        <source>SD卡根目录中的 private 目录将被替换；写入完成并校验后才会替换。</source>
        <translation>SD卡根目录中的 private 目录将被替换；写入完成并校验后才会替换。</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>没有找到可移动的磁盘：请插入SD卡，或用“其他文件夹...”选择它的根目录。</source>
        <translation>没有找到可移动的磁盘：请插入SD卡，或用“其他文件夹...”选择它的根目录。</translation>
    </message>
    <message>
        <source>请选择SD卡的根目录：</source>
        <translation>请选择SD卡的根目录：</translation>
    </message>
    <message>
        <source>请先选择SD卡。</source>
        <translation>请先选择SD卡。</translation>
    </message>
    <message>
        <source>正在写入……请勿拔出SD卡。</source>
        <translation>正在写入……请勿拔出SD卡。</translation>
    </message>
    <message>
        <source>SD卡上的 %1 中有不是转换生成的文件（例如 %2）。
用本次的输出替换整个目录吗？</source>
        <translation>SD卡上的 %1 中有不是转换生成的文件（例如 %2）。
用本次的输出替换整个目录吗？</translation>
    </message>
    <message>
        <source>正在校验：%1/%2 个文件，%3/%4 MB</source>
        <translation>正在校验：%1/%2 个文件，%3/%4 MB</translation>
    </message>
    <message>
        <source>正在写入：%1/%2 个文件，%3/%4 MB</source>
        <translation>正在写入：%1/%2 个文件，%3/%4 MB</translation>
    </message>
    <message>
        <source>已写入 %1 个文件（%2 MB）并逐一校验无误：%3
现在可以安全移除SD卡。</source>
        <translation>已写入 %1 个文件（%2 MB）并逐一校验无误：%3
现在可以安全移除SD卡。</translation>
    </message>
    <message>
        <source>未写入：%1</source>
        <translation>未写入：%1</translation>
    </message>
    <message>
        <source>写入失败，SD卡上原有的 private 目录保持不变：%1</source>
        <translation>写入失败，SD卡上原有的 private 目录保持不变：%1</translation>
    </message>
    <message>
        <source>已停止，SD卡上原有的 private 目录保持不变。</source>
        <translation>已停止，SD卡上原有的 private 目录保持不变。</translation>
    </message>
</context>
<context>
    <name>tessel::CConfigDlg</name>
    <message>
        <source>松开触摸屏时，上传坐标通知0x72指令</source>
        <translation>松开触摸屏时，上传坐标通知0x72指令</translation>
    </message>
    <message>
        <source>点击触摸屏，自动上传0x73/0x79指令
勾上时以100毫秒的间隔定时上传，直到松开;
未勾时仅在按下时上传一次。</source>
        <translation>点击触摸屏，自动上传0x73/0x79指令
勾上时以100毫秒的间隔定时上传，直到松开;
未勾时仅在按下时上传一次。</translation>
    </message>
    <message>
        <source>点击触摸屏或键盘后，按照0x1E配置文件的要求进行触控、键控界面的切换</source>
        <translation>点击触摸屏或键盘后，按照0x1E配置文件的要求进行触控、键控界面的切换</translation>
    </message>
    <message>
        <source>背光有触摸屏或键盘控制，同时用户也可以通过0x5E/0x5F指令强制开关</source>
        <translation>背光有触摸屏或键盘控制，同时用户也可以通过0x5E/0x5F指令强制开关</translation>
    </message>
    <message>
        <source>触摸屏或按键有蜂鸣器伴音</source>
        <translation>触摸屏或按键有蜂鸣器伴音</translation>
    </message>
    <message>
        <source>当选择时，偏转90度显示</source>
        <translation>当选择时，偏转90度显示</translation>
    </message>
    <message>
        <source>触控模式下，蜂鸣器只有在点击有效位置时，鸣叫一次</source>
        <translation>触控模式下，蜂鸣器只有在点击有效位置时，鸣叫一次</translation>
    </message>
    <message>
        <source>按下触摸控件时，上传0x79指令</source>
        <translation>按下触摸控件时，上传0x79指令</translation>
    </message>
    <message>
        <source>0 触摸屏坐标回传不跟随Para1.2变化 
1 跟随Parad1.2(偏转90度显示)变化</source>
        <translation>0 触摸屏坐标回传不跟随Para1.2变化 
1 跟随Parad1.2(偏转90度显示)变化</translation>
    </message>
    <message>
        <source>0 显示偏转180度(反视角显示) 
1 正常视角显示</source>
        <translation>0 显示偏转180度(反视角显示) 
1 正常视角显示</translation>
    </message>
    <message>
        <source>配置参数</source>
        <translation>配置参数</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>tessel::CSetupDlg</name>
    <message>
        <source>确定参数，如果不正确请手动修改！</source>
        <translation>确定参数，如果不正确请手动修改！</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>使用触摸配置文件（未勾选时使用坐标通知）</source>
        <translation>使用触摸配置文件（未勾选时使用坐标通知）</translation>
    </message>
    <message>
        <source>触摸通知</source>
        <translation>触摸通知</translation>
    </message>
    <message>
        <source>按下(0x73)</source>
        <translation>按下(0x73)</translation>
    </message>
    <message>
        <source>按下(0x73)+松开(0x72)</source>
        <translation>按下(0x73)+松开(0x72)</translation>
    </message>
    <message>
        <source>长按通知(100毫秒间隔)</source>
        <translation>长按通知(100毫秒间隔)</translation>
    </message>
    <message>
        <source>松开(0x78)</source>
        <translation>松开(0x78)</translation>
    </message>
    <message>
        <source>按下(0x79)+松开(0x78)</source>
        <translation>按下(0x79)+松开(0x78)</translation>
    </message>
    <message>
        <source>触摸蜂鸣</source>
        <translation>触摸蜂鸣</translation>
    </message>
    <message>
        <source>不响</source>
        <translation>不响</translation>
    </message>
    <message>
        <source>按压任意位置</source>
        <translation>按压任意位置</translation>
    </message>
    <message>
        <source>仅按压触摸有效区域</source>
        <translation>仅按压触摸有效区域</translation>
    </message>
    <message>
        <source>屏幕旋转</source>
        <translation>屏幕旋转</translation>
    </message>
    <message>
        <source>不旋转</source>
        <translation>不旋转</translation>
    </message>
    <message>
        <source>顺时钟90度</source>
        <translation>顺时钟90度</translation>
    </message>
    <message>
        <source>顺时钟180度</source>
        <translation>顺时钟180度</translation>
    </message>
    <message>
        <source>顺时钟270度</source>
        <translation>顺时钟270度</translation>
    </message>
    <message>
        <source>显示文字时，自动用背景图片恢复</source>
        <translation>显示文字时，自动用背景图片恢复</translation>
    </message>
    <message>
        <source>延时200毫秒刷新，确保连续的指令同步刷新</source>
        <translation>延时200毫秒刷新，确保连续的指令同步刷新</translation>
    </message>
</context>
<context>
    <name>tessel::CTesselApp</name>
    <message>
        <source>-o 需要一个输出目录</source>
        <translation>-o 需要一个输出目录</translation>
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
        <translation>用法：tessel [选项] [文件夹]

把 DWIN 串口屏工程的下载目录（DWIN_SET）转换为 KOVA_TFT 的 SD 卡目录。
文件夹：打开时填入的 DWIN_SET 路径。

选项：
  -o, --output 目录   输出目录（默认：文档目录/TESSEL）
  --lang zh|en        界面语言（默认：系统的语言）
  -h, --help          显示本说明
  --version           显示版本

在命令行转换或写入SD卡：tessel-cli --help
</translation>
    </message>
    <message>
        <source>需要图形界面，但没有显示器（DISPLAY 和 WAYLAND_DISPLAY 都未设置）；在命令行转换请用 tessel-cli</source>
        <translation>需要图形界面，但没有显示器（DISPLAY 和 WAYLAND_DISPLAY 都未设置）；在命令行转换请用 tessel-cli</translation>
    </message>
</context>
<context>
    <name>tessel::CTesselDlg</name>
    <message>
        <source>DWIN_SET路径:</source>
        <translation>DWIN_SET路径:</translation>
    </message>
    <message>
        <source>浏览...</source>
        <translation>浏览...</translation>
    </message>
    <message>
        <source>KOVA_TFT路径:</source>
        <translation>KOVA_TFT路径:</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>预览</translation>
    </message>
    <message>
        <source>在浏览器中查看显示屏将显示的画面</source>
        <translation>在浏览器中查看显示屏将显示的画面</translation>
    </message>
    <message>
        <source>说明：下列参数一般不需要修改，保持默认值即可。</source>
        <translation>说明：下列参数一般不需要修改，保持默认值即可。</translation>
    </message>
    <message>
        <source>图片输出格式：</source>
        <translation>图片输出格式：</translation>
    </message>
    <message>
        <source>普通JPEG(默认)</source>
        <translation>普通JPEG(默认)</translation>
    </message>
    <message>
        <source>高质量JPEG</source>
        <translation>高质量JPEG</translation>
    </message>
    <message>
        <source>BMP位图(无损压缩)</source>
        <translation>BMP位图(无损压缩)</translation>
    </message>
    <message>
        <source>字库选择：</source>
        <translation>字库选择：</translation>
    </message>
    <message>
        <source>ASCII字符</source>
        <translation>ASCII字符</translation>
    </message>
    <message>
        <source>中英文</source>
        <translation>中英文</translation>
    </message>
    <message>
        <source>数码管(正常)</source>
        <translation>数码管(正常)</translation>
    </message>
    <message>
        <source>数码管(加粗)</source>
        <translation>数码管(加粗)</translation>
    </message>
    <message>
        <source>数码管(倾斜)</source>
        <translation>数码管(倾斜)</translation>
    </message>
    <message>
        <source>图片旋转处理：</source>
        <translation>图片旋转处理：</translation>
    </message>
    <message>
        <source>自动处理</source>
        <translation>自动处理</translation>
    </message>
    <message>
        <source>不旋转</source>
        <translation>不旋转</translation>
    </message>
    <message>
        <source>顺时钟90度</source>
        <translation>顺时钟90度</translation>
    </message>
    <message>
        <source>顺时钟180度</source>
        <translation>顺时钟180度</translation>
    </message>
    <message>
        <source>顺时钟270度</source>
        <translation>顺时钟270度</translation>
    </message>
    <message>
        <source>字库显示：</source>
        <translation>字库显示：</translation>
    </message>
    <message>
        <source>矢量字体(抗锯齿)</source>
        <translation>矢量字体(抗锯齿)</translation>
    </message>
    <message>
        <source>小号字用点阵字体</source>
        <translation>小号字用点阵字体</translation>
    </message>
    <message>
        <source>消除图片中的水波纹（会降低压缩率，默认不勾选）</source>
        <translation>消除图片中的水波纹（会降低压缩率，默认不勾选）</translation>
    </message>
    <message>
        <source>支持升级单个图片文件（默认不勾选）</source>
        <translation>支持升级单个图片文件（默认不勾选）</translation>
    </message>
    <message>
        <source>开始转换</source>
        <translation>开始转换</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>详细信息...</source>
        <translation>详细信息...</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>内存不足</translation>
    </message>
    <message>
        <source>转换中止：%1</source>
        <translation>转换中止：%1</translation>
    </message>
    <message>
        <source>打开输出目录</source>
        <translation>打开输出目录</translation>
    </message>
    <message>
        <source>文档目录/TESSEL</source>
        <translation>文档目录/TESSEL</translation>
    </message>
    <message>
        <source>未确认设备参数，转换未完成</source>
        <translation>未确认设备参数，转换未完成</translation>
    </message>
    <message>
        <source>详细信息 - %1</source>
        <translation>详细信息 - %1</translation>
    </message>
    <message>
        <source>分支 %1：%2
%3

</source>
        <translation>分支 %1：%2
%3

</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>没有可以打开输出目录的文件管理器：
%1</source>
        <translation>没有可以打开输出目录的文件管理器：
%1</translation>
    </message>
    <message>
        <source>无法生成预览：%1</source>
        <translation>无法生成预览：%1</translation>
    </message>
    <message>
        <source>没有可以打开预览的浏览器：
%1</source>
        <translation>没有可以打开预览的浏览器：
%1</translation>
    </message>
    <message>
        <source>以下文件无法写入：</source>
        <translation>以下文件无法写入：</translation>
    </message>
    <message>
        <source>
……（另有 %1 个）</source>
        <translation>
……（另有 %1 个）</translation>
    </message>
    <message>
        <source>请选择源目录：</source>
        <translation>请选择源目录：</translation>
    </message>
    <message>
        <source>找不到帮助文档：
%1</source>
        <translation>找不到帮助文档：
%1</translation>
    </message>
    <message>
        <source>没有可以打开帮助文档的程序：
%1</source>
        <translation>没有可以打开帮助文档的程序：
%1</translation>
    </message>
    <message>
        <source>转换正在进行。要停止转换吗？</source>
        <translation>转换正在进行。要停止转换吗？</translation>
    </message>
    <message>
        <source>转换未完成，之前的输出保持不变。</source>
        <translation>转换未完成，之前的输出保持不变。</translation>
    </message>
    <message>
        <source>转换已停止，之前的输出保持不变</source>
        <translation>转换已停止，之前的输出保持不变</translation>
    </message>
    <message>
        <source>写入失败，之前的输出保持不变</source>
        <translation>写入失败，之前的输出保持不变</translation>
    </message>
    <message>
        <source>%1 类完成：%2</source>
        <translation>%1 类完成：%2</translation>
    </message>
    <message>
        <source>更改...</source>
        <translation>更改...</translation>
    </message>
    <message>
        <source>选择输出目录</source>
        <translation>选择输出目录</translation>
    </message>
    <message>
        <source>写入SD卡...</source>
        <translation>写入SD卡...</translation>
    </message>
    <message>
        <source>把 private 目录复制到SD卡根目录并校验</source>
        <translation>把 private 目录复制到SD卡根目录并校验</translation>
    </message>
    <message>
        <source>请选择输出目录：</source>
        <translation>请选择输出目录：</translation>
    </message>
    <message>
        <source>更小的输出文件（转换较慢，默认不勾选）</source>
        <translation>更小的输出文件（转换较慢，默认不勾选）</translation>
    </message>
    <message>
        <source>图片和图标压缩得更小，显示屏加载更快，像素不变</source>
        <translation>图片和图标压缩得更小，显示屏加载更快，像素不变</translation>
    </message>
</context>
<context>
    <name>tessel::GuiHost</name>
    <message>
        <source>输出目录 %1 中有不是转换生成的文件（例如 %2）。
删除整个目录并继续转换吗？</source>
        <translation>输出目录 %1 中有不是转换生成的文件（例如 %2）。
删除整个目录并继续转换吗？</translation>
    </message>
    <message>
        <source>输出目录 %1 被锁定（锁文件 %2，%3），无法从这里检查那次转换。
确定没有其他转换正在写入吗？接管锁并继续转换吗？</source>
        <translation>输出目录 %1 被锁定（锁文件 %2，%3），无法从这里检查那次转换。
确定没有其他转换正在写入吗？接管锁并继续转换吗？</translation>
    </message>
</context>
</TS>
