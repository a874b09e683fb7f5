<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutBox</name>
    <message>
        <source>Sweepdraw %1</source>
        <translation>图形程序设计 %1</translation>
    </message>
    <message>
        <source>Pictures drawn point by point from sine and cosine sweeps: mountains, flowing water, sunshine and a bridge.</source>
        <translation>用正弦和余弦扫描逐点画出的图画：高山、流水、阳光和大桥。</translation>
    </message>
    <message>
        <source>Free software under the MIT License.</source>
        <translation>自由软件，以 MIT 许可证发布。</translation>
    </message>
    <message>
        <source>Copyright © 2026 The Sweepdraw developers</source>
        <translation>版权所有 © 2026 Sweepdraw 开发者</translation>
    </message>
    <message>
        <source>Running on Qt %1.</source>
        <translation>运行于 Qt %1。</translation>
    </message>
    <message>
        <source>About Sweepdraw</source>
        <translation>关于图形程序设计</translation>
    </message>
</context>
<context>
    <name>AnimationEncoder</name>
    <message>
        <source>the animation has no frames</source>
        <translation>动画没有任何帧</translation>
    </message>
</context>
<context>
    <name>AnimationFile</name>
    <message>
        <source>the suffix names no format of animation; the suffixes that work are %1</source>
        <translation>后缀不是任何动画格式；可用的后缀有 %1</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>文件没有打开</translation>
    </message>
</context>
<context>
    <name>Command</name>
    <message>
        <source>Mountains: a sine ridge drawn in 4 colour passes, %L1 points</source>
        <translation>高山：一道正弦山脊，分 4 遍上色，共 %L1 个点</translation>
    </message>
    <message>
        <source>Water: four ripples, each shorter than the one above, drawn in 5 colour passes, %L1 points</source>
        <translation>流水：四道水波，一道比一道短，分 5 遍上色，共 %L1 个点</translation>
    </message>
    <message>
        <source>Sunshine: a sun and 32 rays growing outward, drawn in 6 colour passes, %L1 points</source>
        <translation>阳光：一轮太阳和 32 道向外伸展的光芒，分 6 遍上色，共 %L1 个点</translation>
    </message>
    <message>
        <source>Bridge: a great arch, then 6 small arches drawn in 6 colour passes, %L1 points</source>
        <translation>大桥：先画一道大拱，再分 6 遍上色画 6 个小拱，共 %L1 个点</translation>
    </message>
    <message>
        <source>Clear: erases every picture</source>
        <translation>清除：擦去所有的图画</translation>
    </message>
    <message>
        <source>Exit: ends the program at once, even in the middle of a drawing</source>
        <translation>退出：立即结束程序，即使正在画图</translation>
    </message>
</context>
<context>
    <name>FileWriter</name>
    <message>
        <source>out of memory</source>
        <translation>内存不足</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>它不是普通文件</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>文件没有打开</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>Finish now</source>
        <translation>立即画完</translation>
    </message>
    <message>
        <source>Save picture…</source>
        <translation>保存图片…</translation>
    </message>
    <message>
        <source>Copy picture</source>
        <translation>复制图片</translation>
    </message>
    <message>
        <source>Record animation…</source>
        <translation>录制动画…</translation>
    </message>
    <message>
        <source>Show code</source>
        <translation>显示代码</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>单步</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Run to the caret</source>
        <translation>运行到光标处</translation>
    </message>
    <message>
        <source>Step back</source>
        <translation>后退一步</translation>
    </message>
    <message>
        <source>Edit a copy</source>
        <translation>编辑副本</translation>
    </message>
    <message>
        <source>New routine</source>
        <translation>新建例程</translation>
    </message>
    <message>
        <source>Open routine…</source>
        <translation>打开例程…</translation>
    </message>
    <message>
        <source>Save routine as…</source>
        <translation>另存例程…</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
</context>
<context>
    <name>Page</name>
    <message>
        <source>The drawing has ended. You can close this page.</source>
        <translation>画图已结束。可以关闭此页面了。</translation>
    </message>
    <message>
        <source>Unknown speed: %1</source>
        <translation>未知的速度：%1</translation>
    </message>
    <message>
        <source>Unknown command: %1</source>
        <translation>未知的命令：%1</translation>
    </message>
    <message>
        <source>%1: error: the link does not hold a routine</source>
        <translation>%1: 错误：此链接不含例程</translation>
    </message>
    <message>
        <source>Copy link</source>
        <translation>复制链接</translation>
    </message>
</context>
<context>
    <name>Recording</name>
    <message>
        <source>a drawing command failed</source>
        <translation>画图命令出错</translation>
    </message>
</context>
<context>
    <name>RoutineEditor</name>
    <message>
        <source>My mountains</source>
        <translation>我的高山</translation>
    </message>
    <message>
        <source>My water</source>
        <translation>我的流水</translation>
    </message>
    <message>
        <source>My sunshine</source>
        <translation>我的阳光</translation>
    </message>
    <message>
        <source>My bridge</source>
        <translation>我的大桥</translation>
    </message>
    <message>
        <source>My routine</source>
        <translation>我的例程</translation>
    </message>
</context>
<context>
    <name>Speed</name>
    <message>
        <source>Slow</source>
        <translation>慢</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>快</translation>
    </message>
    <message>
        <source>Instant</source>
        <translation>立即</translation>
    </message>
    <message>
        <source>Slowest</source>
        <translation>最慢</translation>
    </message>
</context>
<context>
    <name>WebpEncoder</name>
    <message>
        <source>this libwebp cannot be configured</source>
        <translation>这个 libwebp 无法配置</translation>
    </message>
    <message>
        <source>this libwebp has no animation encoder</source>
        <translation>这个 libwebp 没有动画编码器</translation>
    </message>
    <message>
        <source>this libwebp cannot take pictures</source>
        <translation>这个 libwebp 无法接收图片</translation>
    </message>
</context>
<context>
    <name>sweepdraw::BackgroundRecording</name>
    <message>
        <source>Recording %1…</source>
        <translation>正在录制 %1…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Record animation</source>
        <translation>录制动画</translation>
    </message>
    <message>
        <source>a drawing command failed</source>
        <translation>画图命令出错</translation>
    </message>
    <message>
        <source>The animation could not be recorded to %1: %2.</source>
        <translation>无法把动画录制到 %1：%2。</translation>
    </message>
    <message>
        <source>Recording %1 to %2…</source>
        <translation>正在把 %1 录制到 %2…</translation>
    </message>
</context>
<context>
    <name>sweepdraw::CodePane</name>
    <message>
        <source>Code</source>
        <translation>代码</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Routine</source>
        <translation>程序</translation>
    </message>
    <message>
        <source>last point %1</source>
        <translation>最后一点 %1</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>已暂停</translation>
    </message>
    <message>
        <source>Finished %1</source>
        <translation>%1 已画完</translation>
    </message>
    <message>
        <source>Nothing drawn yet</source>
        <translation>尚未画图</translation>
    </message>
    <message>
        <source>pass %1 of %2</source>
        <translation>第 %1 遍，共 %2 遍</translation>
    </message>
    <message>
        <source>%1 of %2 operations</source>
        <translation>%1 / %2 次操作</translation>
    </message>
    <message>
        <source>%1 s left</source>
        <translation>还剩 %1 秒</translation>
    </message>
    <message numerus="yes">
        <source>%n waiting</source>
        <translation>
            <numerusform>%n 个等待</numerusform>
        </translation>
    </message>
    <message>
        <source>Nothing was drawn at pixel %1</source>
        <translation>像素 %1 处什么也没画</translation>
    </message>
    <message>
        <source>Pixel %1 was drawn by %2 line %3</source>
        <translation>像素 %1 由 %2 第 %3 行画出</translation>
    </message>
    <message>
        <source>operation %1 of %2</source>
        <translation>第 %1 个操作，共 %2 个</translation>
    </message>
    <message>
        <source>Routine shown</source>
        <translation>所示例程</translation>
    </message>
    <message>
        <source>%1 · routine file, read-only</source>
        <translation>%1 · 例程文件，只读</translation>
    </message>
    <message>
        <source>%1 · scene, read-only</source>
        <translation>%1 · 场景，只读</translation>
    </message>
    <message>
        <source>No routine shown yet</source>
        <translation>尚未显示例程</translation>
    </message>
    <message>
        <source>Click a picture&apos;s button: the routine that draws it shows here, live.

Ctrl+E makes a copy of it that is yours to change: every change shows in the picture at once. F5 runs your copy as a command of its own.</source>
        <translation>点击一个画图按钮：画它的程序会在这里实时显示。

Ctrl+E 复制一份归你修改：每处修改都会立即显示在图画中。F5 把你的副本作为一个命令运行。</translation>
    </message>
    <message>
        <source>This routine is read-only: Ctrl+E makes a copy of it that is yours to change.</source>
        <translation>这个程序是只读的：Ctrl+E 复制一份归你修改。</translation>
    </message>
    <message>
        <source>No routine of yours is open: Ctrl+E makes a copy of the one shown.</source>
        <translation>没有打开你的程序：Ctrl+E 复制显示的那个。</translation>
    </message>
    <message>
        <source>Your routine does not compile: %1</source>
        <translation>你的程序无法编译：%1</translation>
    </message>
    <message>
        <source>operation %1</source>
        <translation>第 %1 个操作</translation>
    </message>
    <message>
        <source>%1 operations so far</source>
        <translation>到目前为止 %1 个操作</translation>
    </message>
</context>
<context>
    <name>sweepdraw::Form1</name>
    <message>
        <source>Picture</source>
        <translation>画面</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Blank</source>
        <translation>空白</translation>
    </message>
    <message>
        <source>, </source>
        <comment>between the captions of the pictures drawn</comment>
        <translation>、</translation>
    </message>
    <message>
        <source>The drawing stopped with an error:
%1</source>
        <translation>画图出错，已停止：
%1</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>Paused · %1 to continue</source>
        <translation>已暂停 · %1 继续</translation>
    </message>
</context>
<context>
    <name>sweepdraw::HelpDialog</name>
    <message>
        <source>Sweepdraw Help</source>
        <translation>图形程序设计帮助</translation>
    </message>
    <message>
        <source>The buttons</source>
        <translation>按钮</translation>
    </message>
    <message>
        <source>Click a button to draw its picture, point by point. The pictures stay, one over another, until 清除 clears them. Clicks made while a picture is being drawn wait their turn.</source>
        <translation>单击按钮，逐点画出它的图画。图画一幅叠一幅地留着，直到“清除”擦去它们。画图时的单击会排队，依次执行。</translation>
    </message>
    <message>
        <source>Keys and the menu</source>
        <translation>按键和菜单</translation>
    </message>
    <message>
        <source>Tab moves from button to button; Space, Return or Enter presses the button with the focus. A right click anywhere outside the buttons opens the menu. Its keys work with the menu closed too.</source>
        <translation>Tab 键在按钮之间移动；空格键、回车键或 Enter 键按下有焦点的按钮。在按钮以外的任何地方单击右键，打开菜单。菜单关着时，它的按键同样有效。</translation>
    </message>
    <message>
        <source>The command line</source>
        <translation>命令行</translation>
    </message>
    <message>
        <source>opens the window and draws the sunshine, then the bridge, fast. The speeds are %1.</source>
        <translation>打开窗口，快速画出阳光，再画大桥。速度有 %1。</translation>
    </message>
    <message>
        <source>opens no window: draws the mountains and the water, and saves the picture to a file.</source>
        <translation>不打开窗口：画出高山和流水，把图画存入文件。</translation>
    </message>
    <message>
        <source>lists every option.</source>
        <translation>列出所有选项。</translation>
    </message>
    <message>
        <source>The code pane</source>
        <translation>代码窗格</translation>
    </message>
    <message>
        <source>Ctrl+click on the picture</source>
        <translation>在图画上 Ctrl+单击</translation>
    </message>
    <message>
        <source>while the drawing is paused or done: the line of the routine that drew that point</source>
        <translation>绘图暂停或完成时：画出那个点的程序行</translation>
    </message>
    <message>
        <source>Drag a number sideways</source>
        <translation>横向拖动一个数字</translation>
    </message>
    <message>
        <source>in your routine: changes it, and the picture shows the change</source>
        <translation>在你的程序中：修改它，图画随之显示修改</translation>
    </message>
    <message>
        <source>Alt+Up, Alt+Down</source>
        <translation>Alt+上，Alt+下</translation>
    </message>
    <message>
        <source>in your routine: the number at the caret one more, one less</source>
        <translation>在你的程序中：光标处的数字加一、减一</translation>
    </message>
    <message>
        <source>Typing</source>
        <translation>输入</translation>
    </message>
    <message>
        <source>in your routine: the picture shows the change once you stop typing</source>
        <translation>在你的程序中：停止输入后图画即显示修改</translation>
    </message>
</context>
<context>
    <name>sweepdraw::LiveChanges</name>
    <message>
        <source>Drawing your change · %1 operations · Shift+Esc stops</source>
        <translation>正在绘制你的修改 · %1 个操作 · Shift+Esc 停止</translation>
    </message>
</context>
<context>
    <name>sweepdraw::PaneDock</name>
    <message>
        <source>Divider</source>
        <translation>分隔条</translation>
    </message>
</context>
<context>
    <name>sweepdraw::PictureActions</name>
    <message>
        <source>%1 image (*.%2)</source>
        <translation>%1 图片 (*.%2)</translation>
    </message>
    <message>
        <source>Save picture</source>
        <translation>保存图片</translation>
    </message>
    <message>
        <source>The picture could not be saved to %1: %2.</source>
        <translation>无法把图片保存到 %1：%2。</translation>
    </message>
    <message>
        <source>Record animation</source>
        <translation>录制动画</translation>
    </message>
    <message>
        <source>%1 animation (*.%2)</source>
        <translation>%1 动画 (*.%2)</translation>
    </message>
    <message>
        <source>Nothing has been drawn since the last clear, and nothing is queued: there is nothing to record.</source>
        <translation>自上次清除以来没有画任何东西，也没有排队的命令：没有可录制的内容。</translation>
    </message>
    <message>
        <source>, </source>
        <comment>between the captions of the pictures recorded</comment>
        <translation>、</translation>
    </message>
</context>
<context>
    <name>sweepdraw::RoutineEditor</name>
    <message>
        <source>Routine files (*.cpp)</source>
        <translation>例程文件 (*.cpp)</translation>
    </message>
    <message>
        <source>%1 · yours · %2</source>
        <translation>%1 · 你的 · %2</translation>
    </message>
    <message>
        <source>%1 · yours · line %2, column %3: %4</source>
        <translation>%1 · 你的 · 第 %2 行第 %3 列：%4</translation>
    </message>
    <message>
        <source>%1 · yours, editable</source>
        <translation>%1 · 你的，可编辑</translation>
    </message>
    <message>
        <source>Open routine</source>
        <translation>打开例程</translation>
    </message>
    <message>
        <source>Save routine as</source>
        <translation>另存例程</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>%1; the last changes to %2 are lost</source>
        <translation>%1；%2 最后的改动已丢失</translation>
    </message>
    <message>
        <source>Routine not saved</source>
        <translation>例程未保存</translation>
    </message>
    <message>
        <source>%1 could not be saved:
%2</source>
        <translation>%1 无法保存：
%2</translation>
    </message>
    <message>
        <source>Save elsewhere…</source>
        <translation>另存到别处…</translation>
    </message>
    <message>
        <source>%1 was changed in another window; yours is kept as %2</source>
        <translation>%1 已在另一个窗口中被修改；你的版本保存为 %2</translation>
    </message>
</context>
<context>
    <name>sweepdraw::RoutineFiles</name>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>%1 is not UTF-8 text</source>
        <translation>%1 不是 UTF-8 文本</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <source>too large to be a routine</source>
        <translation>太大，不可能是例程</translation>
    </message>
    <message>
        <source>%1 is passed over: %2</source>
        <translation>%1 已跳过：%2</translation>
    </message>
</context>
<context>
    <name>sweepdraw::RoutineList</name>
    <message>
        <source>Routines</source>
        <translation>程序</translation>
    </message>
    <message>
        <source>%1 · scene</source>
        <translation>%1 · 场景</translation>
    </message>
    <message>
        <source>%1 · yours</source>
        <translation>%1 · 你的</translation>
    </message>
</context>
<context>
    <name>sweepdraw::StepMarker</name>
    <message>
        <source>Last point: (%1, %2) twips, pixel (%3, %4)</source>
        <translation>最后一点：(%1, %2) 缇，像素 (%3, %4)</translation>
    </message>
</context>
</TS>
