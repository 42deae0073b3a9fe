<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en_US">
<context>
    <name>Messages</name>
    <message>
        <source>Could not open the scene "%1": %2</source>
        <translation>シーン「%1」を開けませんでした: %2</translation>
    </message>
    <message>
        <source>Could not record the animation to "%1": %2</source>
        <translation>アニメーションを「%1」に録画できませんでした: %2</translation>
    </message>
    <message>
        <source>this system's FFmpeg libraries have no %1 encoder ("%2")</source>
        <translation>このシステムの FFmpeg ライブラリには %1 エンコーダ（「%2」）がありません</translation>
    </message>
    <message>
        <source>the %1 file writer is missing</source>
        <translation>%1 ファイルの書き出し機能がありません</translation>
    </message>
    <message>
        <source>the %1 encoder refused %2 x %3 pictures (%4)</source>
        <translation>%1 エンコーダが %2 × %3 の画像を受け付けませんでした（%4）</translation>
    </message>
    <message>
        <source>the file name must end in .mp4, .webm or .gif</source>
        <translation>ファイル名は .mp4、.webm、.gif のいずれかで終わらなければなりません</translation>
    </message>
    <message>
        <source>a picture of %1 x %2 pixels cannot be recorded</source>
        <translation>%1 × %2 ピクセルの画像は録画できません</translation>
    </message>
    <message>
        <source>a video frame may have as many pixels as 3840 x 2160, in any shape with no side over %1, and this one is %2 x %3</source>
        <translation>動画の 1 コマは 3840 × 2160 と同じピクセル数まで（形は自由、ただし一辺は %1 まで）ですが、このコマは %2 × %3 です</translation>
    </message>
    <message>
        <source>%1 pictures a second is no frame rate</source>
        <translation>毎秒 %1 枚はフレームレートになりません</translation>
    </message>
    <message>
        <source>not enough memory for the pictures</source>
        <translation>画像のためのメモリが足りません</translation>
    </message>
    <message>
        <source>The language is changed, but it cannot be kept for the next start: the settings file "%1" could not be written</source>
        <translation>言語は切り替わりましたが、次回の起動には引き継げません: 設定ファイル「%1」に書き込めませんでした</translation>
    </message>
    <message>
        <source>The theme is changed, but it cannot be kept for the next start: the settings file "%1" could not be written</source>
        <translation>配色は切り替わりましたが、次回の起動には引き継げません: 設定ファイル「%1」に書き込めませんでした</translation>
    </message>
    <message>
        <source>The help page %1 is missing</source>
        <translation>ヘルプのページ %1 がありません</translation>
    </message>
    <message>
        <source>no frame was recorded, as the animation did not run while recording</source>
        <translation>録画中にアニメーションが動かなかったため、コマが 1 つも記録されませんでした</translation>
    </message>
    <message>
        <source>No web browser could be opened for %1</source>
        <translation>%1 を開くウェブブラウザを起動できませんでした</translation>
    </message>
    <message>
        <source>Could not print to "%1": %2</source>
        <translation>「%1」に印刷できませんでした: %2</translation>
    </message>
    <message>
        <source>the file could not be written in full</source>
        <translation>ファイルを最後まで書き込めませんでした</translation>
    </message>
    <message>
        <source>Could not save the picture "%1": %2</source>
        <translation>画像「%1」を保存できませんでした: %2</translation>
    </message>
    <message>
        <source>the drawing could not start</source>
        <translation>描画を始められませんでした</translation>
    </message>
    <message>
        <source>the name must end in .png or .svg</source>
        <translation>名前は .png か .svg で終わらなければなりません</translation>
    </message>
    <message>
        <source>the picture has no size</source>
        <translation>画像の大きさが 0 です</translation>
    </message>
    <message>
        <source>Not enough memory for a picture of %1 x %2 pixels</source>
        <translation>%1 × %2 ピクセルの画像を作るにはメモリが足りません</translation>
    </message>
    <message>
        <source>'%1' is not a valid floating point value</source>
        <translation>'%1' は有効な浮動小数点数ではありません</translation>
    </message>
    <message>
        <source>'%1' is not a valid integer value</source>
        <translation>'%1' は有効な整数ではありません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; can be read in two ways: write the decimal separator as %2</source>
        <translation>&apos;%1&apos; は二通りに読めます。小数点は %2 で書いてください</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>不明なエラーです</translation>
    </message>
    <message>
        <source>Axis Minimum Value must be &lt;= Maximum</source>
        <translation>軸の最小値は最大値以下でなければなりません</translation>
    </message>
    <message>
        <source>Axis Maximum Value must be &gt;= Minimum</source>
        <translation>軸の最大値は最小値以上でなければなりません</translation>
    </message>
    <message>
        <source>List index out of bounds (%1)</source>
        <translation>リストの添字が範囲外です (%1)</translation>
    </message>
    <message>
        <source>The printer could not be started</source>
        <translation>プリンタを開始できませんでした</translation>
    </message>
    <message>
        <source>Need Integer</source>
        <translation>整数を入力してください</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>%1: %2 (see --help)</source>
        <translation>%1: %2（--help を参照してください）</translation>
    </message>
    <message>
        <source>--size %1x%2 at --scale %3: %4</source>
        <translation>--scale %3 での --size %1x%2: %4</translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;: stopped by %2</source>
        <translation>「%1」を書き込めませんでした: %2 で中止されました</translation>
    </message>
    <message>
        <source>The device pixel ratio must lie between 0.25 and 16 (not %1)</source>
        <translation>デバイスピクセル比は 0.25 から 16 の間でなければなりません（%1 ではなく）</translation>
    </message>
</context>
<context>
    <name>Refusals</name>
    <message>
        <source>The %1 must be a finite number (%2 was given).</source>
        <translation>%1は有限の数でなければなりません（%2 が与えられました）。</translation>
    </message>
    <message>
        <source>The speed must be greater than 0 (%1 was given).</source>
        <translation>速さは 0 より大きくなければなりません（%1 が与えられました）。</translation>
    </message>
    <message>
        <source>The speed must be below the wave speed: at most %1 of it (%2 was given).</source>
        <translation>速さは波の速さ未満でなければなりません。最大でその %1 倍です（%2 が与えられました）。</translation>
    </message>
    <message>
        <source>The wave speed must be greater than 0 (%1 was given).</source>
        <translation>波の速さは 0 より大きくなければなりません（%1 が与えられました）。</translation>
    </message>
    <message>
        <source>The %1 must not be 0.</source>
        <translation>%1は 0 であってはなりません。</translation>
    </message>
    <message>
        <source>The start and stop positions must differ (both are %1).</source>
        <translation>開始位置と終了位置は異なっていなければなりません（どちらも %1 です）。</translation>
    </message>
    <message>
        <source>The bending radius and the straight section must have the same sign (%1 and %2 were given).</source>
        <translation>曲げ半径と直線部の長さは同じ符号でなければなりません（%1 と %2 が与えられました）。</translation>
    </message>
    <message>
        <source>The undulator period must be greater than 0 (%1 was given).</source>
        <translation>アンジュレータ周期は 0 より大きくなければなりません（%1 が与えられました）。</translation>
    </message>
    <message>
        <source>The number of periods must be at least %1 (%2 was given).</source>
        <translation>周期数は %1 以上でなければなりません（%2 が与えられました）。</translation>
    </message>
    <message>
        <source>The undulator would have %1 periods; at most %2 fit.</source>
        <translation>アンジュレータの周期数が %1 になります。入るのは最大 %2 周期です。</translation>
    </message>
    <message>
        <source>The bending radius and angle must have the same sign (%1 and %2 were given).</source>
        <translation>曲げ半径と偏向角は同じ符号でなければなりません（%1 と %2 が与えられました）。</translation>
    </message>
    <message>
        <source>The bending angle must lie between -%1 and %1 degrees (%2 was given).</source>
        <translation>偏向角は -%1 度から %1 度の間でなければなりません（%2 が与えられました）。</translation>
    </message>
    <message>
        <source>Unknown trajectory kind %1.</source>
        <translation>不明な軌道の種類 %1 です。</translation>
    </message>
    <message>
        <source>The path is too long for the speed %1: it would take about %2 ticks (at most %3).</source>
        <translation>速さ %1 では経路が長すぎます。約 %2 ティックかかります（最大 %3 ティック）。</translation>
    </message>
    <message>
        <source>The path is too long for the speed %1: it would take more than %2 ticks.</source>
        <translation>速さ %1 では経路が長すぎます。%2 ティックを超えます。</translation>
    </message>
    <message>
        <source>The speed %1 is too low to move the charge.</source>
        <translation>速さ %1 は小さすぎて電荷を動かせません。</translation>
    </message>
    <message>
        <source>The path is too large to compute.</source>
        <translation>経路が大きすぎて計算できません。</translation>
    </message>
    <message>
        <source>The path has a piece without a direction; change its dimensions.</source>
        <translation>経路に向きの定まらない部分があります。寸法を変えてください。</translation>
    </message>
    <message>
        <source>The path is too short for the speed %1: the charge would cross it in less than two ticks.</source>
        <translation>速さ %1 では経路が短すぎます。電荷は 2 ティックかからずに通り抜けてしまいます。</translation>
    </message>
    <message>
        <source>The number of field points per field line must be at least %1 (%2 was given).</source>
        <translation>電気力線 1 本あたりの点の数は %1 以上でなければなりません（%2 が与えられました）。</translation>
    </message>
    <message>
        <source>The number of field lines must be at least %1 (%2 was given).</source>
        <translation>電気力線の本数は %1 以上でなければなりません（%2 が与えられました）。</translation>
    </message>
    <message>
        <source>The wavefront spacing must be at least %1 (%2 was given).</source>
        <translation>波面の間隔は %1 以上でなければなりません（%2 が与えられました）。</translation>
    </message>
    <message>
        <source>The number of field points per field line must be at least %1, the number of field points between two wavefronts (%2 was given).</source>
        <translation>電気力線 1 本あたりの点の数は、波面と波面の間の点の数 %1 以上でなければなりません（%2 が与えられました）。</translation>
    </message>
    <message>
        <source>A model of %1 field points x %2 field lines is too large: it needs %3 nodes, at most %4.</source>
        <translation>点 %1 個 × 電気力線 %2 本のモデルは大きすぎます。必要なノード数は %3 で、最大は %4 です。</translation>
    </message>
    <message>
        <source>The plot resolution must lie between %1 and %2 pixels (%3 was given).</source>
        <translation>描画の解像度は %1 から %2 ピクセルの間でなければなりません（%3 が与えられました）。</translation>
    </message>
    <message>
        <source>The magnification must lie between %1 and %2 (%3 was given).</source>
        <translation>拡大率は %1 から %2 の間でなければなりません（%3 が与えられました）。</translation>
    </message>
    <message>
        <source>The speed setting must lie between %1 and %2 (%3 was given).</source>
        <translation>速さの設定は %1 から %2 の間でなければなりません（%3 が与えられました）。</translation>
    </message>
    <message>
        <source>Unknown tracking mode %1 of the magnified view.</source>
        <translation>拡大ウインドウの不明な追従モード %1 です。</translation>
    </message>
    <message>
        <source>Unknown theme %1 of the picture.</source>
        <translation>図の不明な配色 %1 です。</translation>
    </message>
    <message>
        <source>The plot width can stand for 1, 10 or 100 km, m or mm (%1 and unit %2 were given).</source>
        <translation>プロットの幅は 1、10、100 の km、m、mm のいずれかです（%1 と単位 %2 が指定されました）。</translation>
    </message>
    <message>
        <source>The observer must stay within %1 plot units of the centre each way (%2, %3 was given).</source>
        <translation>観測点は中心から縦横それぞれ %1 プロット単位以内に置いてください（%2, %3 が指定されました）。</translation>
    </message>
    <message>
        <source>The observer's trace must cover between %1 and %2 ticks (%3 was given).</source>
        <translation>観測点の記録は %1 から %2 ティックの範囲にしてください（%3 が指定されました）。</translation>
    </message>
    <message>
        <source>The electron energy must be greater than 0 MeV (%1 was given).</source>
        <translation>電子のエネルギーは 0 MeV より大きくなければなりません（%1 が与えられました）。</translation>
    </message>
    <message>
        <source>These undulator values are too large to work out.</source>
        <translation>これらのアンジュレータの値は大きすぎて計算できません。</translation>
    </message>
    <message>
        <source>Not enough memory for a picture of %1 x %2 pixels.</source>
        <translation>%1 × %2 ピクセルの画像を作るにはメモリが足りません。</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>思いがけない引数 &apos;%1&apos; があります</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>&apos;%1&apos; というオプションはありません</translation>
    </message>
    <message>
        <source>%1 is given twice</source>
        <translation>%1 が二度指定されています</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 には値が要ります</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 は値を取りません</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not a whole number</source>
        <translation>%1: &apos;%2&apos; は整数ではありません</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not a number</source>
        <translation>%1: &apos;%2&apos; は数ではありません</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not of the form WxH</source>
        <translation>%1: &apos;%2&apos; は 幅x高さ（WxH）の形ではありません</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not of the form X,Y</source>
        <translation>%1: &apos;%2&apos; は X,Y の形ではありません</translation>
    </message>
    <message>
        <source>%1: %2 is outside %3 .. %4</source>
        <translation>%1: %2 は %3 から %4 までの範囲の外です</translation>
    </message>
    <message>
        <source>%1: the file name is empty</source>
        <translation>%1: ファイル名が空です</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; does not end in .png, .svg, .mp4, .webm or .gif</source>
        <translation>%1: &apos;%2&apos; は .png、.svg、.mp4、.webm、.gif のいずれでも終わっていません</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; has no file name before its suffix</source>
        <translation>%1: &apos;%2&apos; には拡張子の前にファイル名がありません</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not ja or en</source>
        <translation>%1: &apos;%2&apos; は ja でも en でもありません</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not %3</source>
        <translation>%1: &apos;%2&apos; は %3 のどれでもありません</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not %3 or IxJ</source>
        <translation>%1: &apos;%2&apos; は %3 のどれでも、IxJ の形でもありません</translation>
    </message>
    <message>
        <source>%1 and %2 exclude each other</source>
        <translation>%1 と %2 は一緒に指定できません</translation>
    </message>
    <message>
        <source>%1 needs --render FILE</source>
        <translation>%1 は --render FILE と一緒にしか使えません</translation>
    </message>
    <message>
        <source>%1 applies to videos (.mp4, .webm, .gif) only</source>
        <translation>%1 は動画（.mp4、.webm、.gif）にだけ使えます</translation>
    </message>
    <message>
        <source>%1 needs --observer X,Y</source>
        <translation>%1 は --observer X,Y と一緒にしか使えません</translation>
    </message>
    <message>
        <source>--from %1 lies after --ticks %2</source>
        <translation>--from %1 が --ticks %2 より後ろにあります</translation>
    </message>
    <message>
        <source>--size %1x%2 at --scale %3 needs more than %4 x %5 device pixels</source>
        <translation>--scale %3 での --size %1x%2 には %4 × %5 を超えるデバイスピクセルが要ります</translation>
    </message>
    <message>
        <source>speed</source>
        <translation>速さ</translation>
    </message>
    <message>
        <source>start position</source>
        <translation>開始位置</translation>
    </message>
    <message>
        <source>stop position</source>
        <translation>終了位置</translation>
    </message>
    <message>
        <source>oscillation amplitude</source>
        <translation>振動の振幅</translation>
    </message>
    <message>
        <source>circle radius</source>
        <translation>円の半径</translation>
    </message>
    <message>
        <source>bending radius</source>
        <translation>曲げ半径</translation>
    </message>
    <message>
        <source>straight section</source>
        <translation>直線部の長さ</translation>
    </message>
    <message>
        <source>undulator period</source>
        <translation>アンジュレータ周期</translation>
    </message>
    <message>
        <source>bending angle</source>
        <translation>偏向角</translation>
    </message>
    <message>
        <source>wave speed</source>
        <translation>波の速さ</translation>
    </message>
    <message>
        <source>infinity</source>
        <translation>無限大</translation>
    </message>
    <message>
        <source>minus infinity</source>
        <translation>負の無限大</translation>
    </message>
    <message>
        <source>not a number</source>
        <translation>非数</translation>
    </message>
    <message>
        <source>The scene file is too large: %1 bytes, at most %2.</source>
        <translation>シーンファイルが大きすぎます：%1 バイト（最大 %2）。</translation>
    </message>
    <message>
        <source>The scene file is not UTF-8 text (a bad byte at offset %1).</source>
        <translation>シーンファイルが UTF-8 のテキストではありません（オフセット %1 に不正なバイト）。</translation>
    </message>
    <message>
        <source>The scene file is not valid JSON.</source>
        <translation>シーンファイルが正しい JSON ではありません。</translation>
    </message>
    <message>
        <source>The scene file is nested deeper than a scene goes (at most %1 levels).</source>
        <translation>シーンファイルの入れ子が深すぎます（最大 %1 段）。</translation>
    </message>
    <message>
        <source>This is not a Halvoran Radiation scene (%1).</source>
        <translation>これは Halvoran Radiation のシーンではありません（%1）。</translation>
    </message>
    <message>
        <source>The scene is of version %1; this program reads versions up to %2.</source>
        <translation>シーンのバージョンは %1 です。このプログラムが読めるのはバージョン %2 までです。</translation>
    </message>
    <message>
        <source>Unknown key %1 in the scene.</source>
        <translation>シーンに不明なキー %1 があります。</translation>
    </message>
    <message>
        <source>The key %1 is given twice in the scene.</source>
        <translation>シーンのキー %1 が二度指定されています。</translation>
    </message>
    <message>
        <source>The scene has no %1.</source>
        <translation>シーンに %1 がありません。</translation>
    </message>
    <message>
        <source>%1 must be of the JSON type %2.</source>
        <translation>%1 は JSON の %2 型でなければなりません。</translation>
    </message>
    <message>
        <source>The value of %1 is refused.</source>
        <translation>%1 の値は受け付けられません。</translation>
    </message>
    <message>
        <source>%1: the view must run from a lower to a higher value (%2 .. %3 was given).</source>
        <translation>%1：表示範囲は小さい値から大きい値へ取ってください（%2 .. %3 が指定されました）。</translation>
    </message>
    <message>
        <source>The scene file &quot;%1&quot; cannot be read: %2</source>
        <translation>シーンファイル「%1」を読めません：%2</translation>
    </message>
    <message>
        <source>Could not save the scene &quot;%1&quot;: %2</source>
        <translation>シーン「%1」を保存できませんでした：%2</translation>
    </message>
    <message>
        <source>Could not save the CSV file &quot;%1&quot;: %2</source>
        <translation>CSV ファイル「%1」を保存できませんでした：%2</translation>
    </message>
</context>
<context>
    <name>TMainForm1</name>
    <message>
        <source>Open scene</source>
        <translation>シーンを開く</translation>
    </message>
    <message>
        <source>Save scene</source>
        <translation>シーンを保存</translation>
    </message>
    <message>
        <source>Halvoran scene (*.json)</source>
        <translation>Halvoran シーン (*.json)</translation>
    </message>
    <message>
        <source>Save picture</source>
        <translation>画像を保存</translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <translation>PNG 画像 (*.png)</translation>
    </message>
    <message>
        <source>SVG drawing (*.svg)</source>
        <translation>SVG 図 (*.svg)</translation>
    </message>
    <message>
        <source>Record animation</source>
        <translation>アニメーションを録画</translation>
    </message>
    <message>
        <source>MP4 video (*.mp4)</source>
        <translation>MP4 動画 (*.mp4)</translation>
    </message>
    <message>
        <source>WebM video (*.webm)</source>
        <translation>WebM 動画 (*.webm)</translation>
    </message>
    <message>
        <source>Animated GIF (*.gif)</source>
        <translation>GIF アニメーション (*.gif)</translation>
    </message>
    <message>
        <source>The recording to "%1" ended because the window changed its size: a video keeps one picture size. The video is complete up to that moment.</source>
        <translation>ウィンドウの大きさが変わったため、「%1」への録画を終了しました。動画の画像の大きさは途中で変えられません。動画はその時点までで完結しています。</translation>
    </message>
    <message>
        <source>The recording to "%1" ended because the model size changed. The video is complete up to that moment.</source>
        <translation>モデルの大きさが変わったため、「%1」への録画を終了しました。動画はその時点までで完結しています。</translation>
    </message>
    <message>
        <source>The recording to "%1" ended because the screen's pixel ratio changed: a video keeps one picture size. The video is complete up to that moment.</source>
        <translation>画面のピクセル比が変わったため、「%1」への録画を終了しました。動画の画像の大きさは途中で変えられません。動画はその時点までで完結しています。</translation>
    </message>
    <message>
        <source>The animation was recorded to "%1", but %2 of its %3 frames were dropped because the encoder fell behind; the video stands still at those moments.</source>
        <translation>アニメーションを「%1」に録画しましたが、エンコーダが追いつかなかったため %3 コマのうち %2 コマが抜けました。動画はその箇所で止まって見えます。</translation>
    </message>
    <message>
        <source>The animation cannot be recorded at this size: %1. Make the window smaller, then start the recording again.</source>
        <translation>この大きさではアニメーションを録画できません: %1。ウィンドウを小さくしてから、もう一度録画を始めてください。</translation>
    </message>
    <message>
        <source>Run Simulation</source>
        <translation>シミュレーションを実行</translation>
    </message>
    <message>
        <source>Pause Simulation</source>
        <translation>シミュレーションを一時停止</translation>
    </message>
    <message>
        <source>● REC %1:%2</source>
        <translation>● 録画 %1:%2</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>フォルダ</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>ドライブ</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>%1 File</source>
        <translation>%1 ファイル</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <comment>All other platforms</comment>
        <translation>ショートカット</translation>
    </message>
</context>
<context>
    <name>TBetaVersionDlg</name>
    <message>
        <source>:/pictures/greeting.jpg</source>
        <translation>:/pictures/greeting-ja.jpg</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later</source>
        <translation>GNU 一般公衆ライセンス（バージョン 3 以降）によるフリーソフトウェア</translation>
    </message>
</context>
<context>
    <name>TZoomViewForm</name>
    <message>
        <source>Zooming View</source>
        <translation>拡大ウインドウ</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Zoom in (+)</source>
        <translation>拡大 (+)</translation>
    </message>
    <message>
        <source>Zoom out (-)</source>
        <translation>縮小 (-)</translation>
    </message>
</context>
<context>
    <name>TRadiationPatternForm</name>
    <message>
        <source>Radiation Power Pattern</source>
        <translation>放射パワーパターン</translation>
    </message>
    <message>
        <source>Instantaneous</source>
        <translation>瞬時</translation>
    </message>
    <message>
        <source>Averaged</source>
        <translation>平均</translation>
    </message>
    <message>
        <source>No radiation</source>
        <translation>放射なし</translation>
    </message>
    <message>
        <source>Power %1 = %2 × Larmor</source>
        <translation>パワー %1 = ラーモアの %2 倍</translation>
    </message>
    <message>
        <source>The pattern of the present moment</source>
        <translation>いまの瞬間のパターン</translation>
    </message>
    <message>
        <source>The mean over one loop or pass of the path, or over the last ticks of the mouse</source>
        <translation>経路の 1 周または 1 回の通過にわたる平均（マウス入力では直近のティックにわたる平均）</translation>
    </message>
    <message>
        <source>Liénard power radiated into all directions, in q²c/4π per model unit², and its ratio to Larmor's non-relativistic power of the same acceleration</source>
        <translation>全方向に放射されるリエナールのパワー（単位は q²c/4π ÷ モデル単位²）と、同じ加速度に対するラーモアの非相対論的パワーとの比</translation>
    </message>
</context>
<context>
    <name>WebPage</name>
    <message>
        <source>Main menu</source>
        <translation>メインメニュー</translation>
    </message>
    <message>
        <source>Save picture as PNG</source>
        <translation>画像を PNG で保存</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>録画を停止</translation>
    </message>
    <message>
        <source>The page starts with the defaults.</source>
        <translation>ページは既定の設定で始まります。</translation>
    </message>
    <message>
        <source>The picture is not drawn.</source>
        <translation>画像は描かれません。</translation>
    </message>
    <message>
        <source>The address asks for the language &apos;%1&apos;, which is not ja or en.</source>
        <translation>アドレスが指定する言語 &apos;%1&apos; は ja でも en でもありません。</translation>
    </message>
    <message>
        <source>The language is changed, but it cannot be kept for the next visit: this browser does not let the page store it.</source>
        <translation>言語は切り替わりましたが、次回の訪問には引き継げません: このブラウザではページが設定を保存できません。</translation>
    </message>
    <message>
        <source>The picture could not be saved: %1</source>
        <translation>画像を保存できませんでした: %1</translation>
    </message>
    <message>
        <source>The print dialog could not be opened: %1</source>
        <translation>印刷ダイアログを開けませんでした: %1</translation>
    </message>
    <message>
        <source>The page could not go full screen: %1</source>
        <translation>全画面表示にできませんでした: %1</translation>
    </message>
    <message>
        <source>This browser cannot record videos.</source>
        <translation>このブラウザでは動画を録画できません。</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>The browser could not make a PNG of the picture</source>
        <translation>ブラウザが画像の PNG を作れませんでした</translation>
    </message>
    <message>
        <source>This browser does not show the page in full screen</source>
        <translation>このブラウザではページを全画面表示にできません</translation>
    </message>
    <message>
        <source>Copy link</source>
        <translation>リンクをコピー</translation>
    </message>
    <message>
        <source>Save scene</source>
        <translation>シーンを保存</translation>
    </message>
    <message>
        <source>Close the lesson</source>
        <translation>レッスンを閉じる</translation>
    </message>
    <message>
        <source>The link</source>
        <translation>リンク</translation>
    </message>
    <message>
        <source>The link to this scene:</source>
        <translation>このシーンへのリンク:</translation>
    </message>
    <message>
        <source>The link to this scene is copied.</source>
        <translation>このシーンへのリンクをコピーしました。</translation>
    </message>
    <message>
        <source>This page was opened as a file: the link opens the scene only where the same file lies. To give the scene to others, save it as a file.</source>
        <translation>このページはファイルとして開かれています。リンクは同じファイルがある場所でだけシーンを開きます。シーンを他の人に渡すには、ファイルとして保存してください。</translation>
    </message>
    <message>
        <source>The link&apos;s scene is not written in base64url.</source>
        <translation>リンクのシーンが base64url で書かれていません。</translation>
    </message>
    <message>
        <source>The link&apos;s scene cannot be unpacked.</source>
        <translation>リンクのシーンを展開できません。</translation>
    </message>
    <message>
        <source>The link&apos;s scene is larger than %1 bytes.</source>
        <translation>リンクのシーンが %1 バイトを超えています。</translation>
    </message>
    <message>
        <source>The link&apos;s scene is not UTF-8 text.</source>
        <translation>リンクのシーンが UTF-8 のテキストではありません。</translation>
    </message>
</context>
<context>
    <name>PictureWords</name>
    <message>
        <source>Mouse control</source>
        <translation>マウス操作</translation>
    </message>
    <message>
        <source>Straight line</source>
        <translation>直線</translation>
    </message>
    <message>
        <source>Dipole oscillation</source>
        <translation>単振動</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>円軌道</translation>
    </message>
    <message>
        <source>Race track</source>
        <translation>レーストラック</translation>
    </message>
    <message>
        <source>Undulator</source>
        <translation>アンジュレータ</translation>
    </message>
    <message>
        <source>Bending magnet</source>
        <translation>偏向磁石</translation>
    </message>
    <message>
        <source>tick</source>
        <translation>コマ</translation>
    </message>
    <message>
        <source>time</source>
        <translation>時刻</translation>
    </message>
    <message>
        <source>path</source>
        <translation>軌道</translation>
    </message>
    <message>
        <source>field lines</source>
        <translation>電気力線</translation>
    </message>
    <message>
        <source>wavefronts</source>
        <translation>波面</translation>
    </message>
    <message>
        <source>nodes</source>
        <translation>ノード</translation>
    </message>
    <message>
        <source>arrows</source>
        <translation>電界ベクトル</translation>
    </message>
    <message>
        <source>Arrows: E of the electron</source>
        <translation>矢印：電子の電界 E</translation>
    </message>
    <message>
        <source>(reversed for a + charge)</source>
        <translation>（正電荷では逆向き）</translation>
    </message>
    <message>
        <source>|E| in e/4πε₀u², u the plot unit</source>
        <translation>|E| の単位 e/4πε₀u²（u はプロット単位）</translation>
    </message>
</context>
<context>
    <name>TLineTrjDlg</name>
    <message>
        <source>Straight Line</source>
        <translation>直線</translation>
    </message>
</context>
<context>
    <name>TDipoleOscSetupDlg</name>
    <message>
        <source>Dipole Oscillation</source>
        <translation>単振動</translation>
    </message>
</context>
<context>
    <name>TCircleTrjDlg</name>
    <message>
        <source>Circular Orbit</source>
        <translation>円軌道</translation>
    </message>
</context>
<context>
    <name>TRaceTrackSetupDlg</name>
    <message>
        <source>Race Track</source>
        <translation>レーストラック</translation>
    </message>
</context>
<context>
    <name>TBendingDlg</name>
    <message>
        <source>Bending Magnet</source>
        <translation>偏向磁石</translation>
    </message>
</context>
<context>
    <name>TUndulatorSetupDlg</name>
    <message>
        <source>Undulator</source>
        <translation>アンジュレータ</translation>
    </message>
</context>
<context>
    <name>TPhysicalModelDlg</name>
    <message>
        <source>Physical Model</source>
        <translation>物理モデル</translation>
    </message>
</context>
<context>
    <name>TModelSizeDlg</name>
    <message>
        <source>Model Size</source>
        <translation>計算モデルの大きさ</translation>
    </message>
</context>
<context>
    <name>TPlotResolutionDlg</name>
    <message>
        <source>Plot Resolution</source>
        <translation>プロット分解能</translation>
    </message>
</context>
<context>
    <name>TSpeedControlForm</name>
    <message>
        <source>Wave Speed</source>
        <translation>波の速さ</translation>
    </message>
</context>
<context>
    <name>TScaleUnitDlg</name>
    <message>
        <source>Scale Unit</source>
        <translation>スケール単位</translation>
    </message>
    <message>
        <source>Window width is equal to</source>
        <translation>ウインドウの幅は</translation>
    </message>
    <message>
        <source>The length the plot&apos;s default width (2 units) stands for, on every path but the undulator and the bending magnet.</source>
        <translation>既定のプロットの幅（2 単位）が表す長さです。アンジュレータと偏向磁石以外のすべての軌道に使われます。</translation>
    </message>
    <message>
        <source>The undulator and the bending magnet set their own scale: the plot is 2 m wide.</source>
        <translation>アンジュレータと偏向磁石では縮尺が決まっています: プロットの幅は 2 m です。</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>THelpWindow</name>
    <message>
        <source>What the picture shows</source>
        <translation>図の見方</translation>
    </message>
</context>
<context>
    <name>TObserverForm</name>
    <message>
        <source>Observer</source>
        <translation>観測点</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>Then click or tap the picture to put the eye there; the eye's marker can also be dragged</source>
        <translation>押してから図をクリック（タップ）すると、そこに観測点を置きます。観測点の印はドラッグでも動かせます</translation>
    </message>
    <message>
        <source>Ticks:</source>
        <translation>ティック数:</translation>
    </message>
    <message>
        <source>How many ticks of observer time the trace keeps</source>
        <translation>トレースが保持する観測者時間のティック数</translation>
    </message>
    <message>
        <source>Save as CSV…</source>
        <translation>CSV で保存…</translation>
    </message>
    <message>
        <source>Writes the trace and the spectrum as two CSV files</source>
        <translation>トレースとスペクトルを 2 つの CSV ファイルに書き出します</translation>
    </message>
    <message>
        <source>Linear</source>
        <translation>線形</translation>
    </message>
    <message>
        <source>Logarithmic</source>
        <translation>対数</translation>
    </message>
    <message>
        <source>The field the eye receives, across the line from the path's centre to the eye: the radiation part and the whole field</source>
        <translation>観測点が受ける電場の、軌道の中心と観測点を結ぶ線に垂直な成分: 放射の部分と電場全体</translation>
    </message>
    <message>
        <source>The power spectrum of the radiation part, with the lines theory predicts for the eye</source>
        <translation>放射の部分のパワースペクトルと、この観測点について理論が予言する線</translation>
    </message>
    <message>
        <source>Eye at x = %1 u, y = %2 u</source>
        <translation>観測点 x = %1 u, y = %2 u</translation>
    </message>
    <message>
        <source>Every sample received</source>
        <translation>すべてのサンプルを受信</translation>
    </message>
    <message>
        <source>%1 of %2 samples left out:</source>
        <translation>%2 サンプルのうち %1 個を除外:</translation>
    </message>
    <message>
        <source>%1 sent before the last reset</source>
        <translation>%1 個は最後のリセットより前に発せられたもの</translation>
    </message>
    <message>
        <source>%1 sent before the kept history</source>
        <translation>%1 個は保持している履歴より前に発せられたもの</translation>
    </message>
    <message>
        <source>Model: c/f₁ = λu(1/β̄ − cos θ) = %1</source>
        <translation>モデル: c/f₁ = λu(1/β̄ − cos θ) = %1</translation>
    </message>
    <message>
        <source>Dialog: λrad = λu/(2γ²)(1 + K²/2) = %1</source>
        <translation>ダイアログ: λrad = λu/(2γ²)(1 + K²/2) = %1</translation>
    </message>
    <message>
        <source>On the axis: odd harmonics only</source>
        <translation>軸上: 奇数次の高調波のみ</translation>
    </message>
    <message>
        <source>radiation part</source>
        <translation>放射の部分</translation>
    </message>
    <message>
        <source>whole field</source>
        <translation>電場全体</translation>
    </message>
    <message>
        <source>tick</source>
        <translation>ティック</translation>
    </message>
    <message>
        <source>time</source>
        <translation>時間</translation>
    </message>
    <message>
        <source>Nothing received yet: run the animation</source>
        <translation>まだ何も受信していません: アニメーションを実行してください</translation>
    </message>
    <message>
        <source>Power (largest 1), logarithmic</source>
        <translation>パワー（最大 1）、対数</translation>
    </message>
    <message>
        <source>Power (largest 1), linear</source>
        <translation>パワー（最大 1）、線形</translation>
    </message>
    <message>
        <source>No spectrum yet: the eye has received nothing</source>
        <translation>スペクトルはまだありません: 観測点は何も受信していません</translation>
    </message>
    <message>
        <source>No radiation reaches the eye here</source>
        <translation>ここには放射が届きません</translation>
    </message>
    <message>
        <source>/tick</source>
        <translation>/ティック</translation>
    </message>
    <message>
        <source>Could not write the CSV file "%1": %2</source>
        <translation>CSV ファイル「%1」に書き込めませんでした: %2</translation>
    </message>
    <message>
        <source>Save as CSV (name-trace.csv and name-spectrum.csv)</source>
        <translation>CSV で保存（名前-trace.csv と 名前-spectrum.csv）</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV ファイル (*.csv)</translation>
    </message>
    <message>
        <source>The path's own frequency f₀ = %1 /tick = %2; lines at n f₀</source>
        <translation>経路の固有振動数 f₀ = %1 /ティック = %2。線は n f₀ の位置</translation>
    </message>
</context>
<context>
    <name>WebObserver</name>
    <message>
        <source>Observer</source>
        <translation>観測点</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>Then click or tap the plot where the eye is to be; its marker can be dragged too</source>
        <translation>押してから図をクリック（タップ）すると、そこに観測点を置きます。観測点の印はドラッグでも動かせます</translation>
    </message>
    <message>
        <source>Click or tap the plot where the eye is to be.</source>
        <translation>観測点を置く場所で図をクリック（タップ）してください。</translation>
    </message>
    <message>
        <source>Ticks the trace and its spectrum cover</source>
        <translation>トレースとそのスペクトルが覆うティック数</translation>
    </message>
    <message>
        <source>Log power</source>
        <translation>対数パワー</translation>
    </message>
    <message>
        <source>The spectrum's power in decibels below its largest bin</source>
        <translation>スペクトルのパワーを最大のビンからのデシベルで表示</translation>
    </message>
    <message>
        <source>What the eye receives against time</source>
        <translation>観測点が受ける電場の時間変化</translation>
    </message>
    <message>
        <source>The spectrum of the radiation part</source>
        <translation>放射の部分のスペクトル</translation>
    </message>
    <message>
        <source>Whole field</source>
        <translation>電場全体</translation>
    </message>
    <message>
        <source>Radiation part</source>
        <translation>放射の部分</translation>
    </message>
    <message>
        <source>ticks</source>
        <translation>ティック</translation>
    </message>
    <message>
        <source>1 tick = %1</source>
        <translation>1 ティック = %1</translation>
    </message>
    <message>
        <source>%1 per tick</source>
        <translation>%1 /ティック</translation>
    </message>
    <message>
        <source>%1 samples</source>
        <translation>%1 サンプル</translation>
    </message>
    <message>
        <source>%1 sent before the last reset</source>
        <translation>%1 個は最後のリセットより前に発せられたもの</translation>
    </message>
    <message>
        <source>%1 sent before the kept history</source>
        <translation>%1 個は保持している履歴より前に発せられたもの</translation>
    </message>
    <message>
        <source>left out: %1</source>
        <translation>除外: %1</translation>
    </message>
    <message>
        <source>Nothing has arrived at the eye yet.</source>
        <translation>観測点にはまだ何も届いていません。</translation>
    </message>
    <message>
        <source>N = %1 (%2 samples, Hann window)</source>
        <translation>N = %1（%2 サンプル、ハン窓）</translation>
    </message>
    <message>
        <source>λ₁ of the model: %1 (θ %2° to %3°)</source>
        <translation>モデルの λ₁: %1（θ %2° から %3°）</translation>
    </message>
    <message>
        <source>λrad of the undulator dialog: %1</source>
        <translation>アンジュレータダイアログの λrad: %1</translation>
    </message>
    <message>
        <source>On the axis: odd harmonics only.</source>
        <translation>軸上: 奇数次の高調波のみ。</translation>
    </message>
    <message>
        <source>Ticks</source>
        <translation>ティック数</translation>
    </message>
    <message>
        <source>per tick</source>
        <translation>/ティック</translation>
    </message>
    <message>
        <source>1 per tick = %1</source>
        <translation>1 /ティック = %1</translation>
    </message>
    <message>
        <source>The path's own frequency f₀ = %1</source>
        <translation>軌道そのものの周波数 f₀ = %1</translation>
    </message>
    <message>
        <source>Trace CSV</source>
        <translation>トレース CSV</translation>
    </message>
    <message>
        <source>Spectrum CSV</source>
        <translation>スペクトル CSV</translation>
    </message>
    <message>
        <source>Save what the eye received, sample by sample, as a CSV file</source>
        <translation>観測点が受信したものをサンプルごとに CSV ファイルで保存</translation>
    </message>
    <message>
        <source>Save the spectrum, bin by bin, as a CSV file</source>
        <translation>スペクトルをビンごとに CSV ファイルで保存</translation>
    </message>
</context>
</TS>
