<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>TMainMenu</name>
    <message>
        <source>Music PLAY</source>
        <translation>Music PLAY</translation>
    </message>
    <message>
        <source>Music PAUSE</source>
        <translation>Music PAUSE</translation>
    </message>
    <message>
        <source>Music STOP</source>
        <translation>Music STOP</translation>
    </message>
    <message>
        <source>&amp;録画を停止</source>
        <translation>S&amp;top recording</translation>
    </message>
    <message>
        <source>&amp;画像を保存…</source>
        <translation>&amp;Save picture…</translation>
    </message>
    <message>
        <source>&amp;シーンを開く…</source>
        <translation>&amp;Open scene…</translation>
    </message>
    <message>
        <source>&amp;シーンを保存…</source>
        <translation>Save s&amp;cene…</translation>
    </message>
    <message>
        <source>&amp;レッスン</source>
        <translation>&amp;Lessons</translation>
    </message>
    <message>
        <source>&amp;アニメーションを録画…</source>
        <translation>&amp;Record animation…</translation>
    </message>
    <message>
        <source>&amp;滑らかな線</source>
        <translation>&amp;Smooth lines</translation>
    </message>
    <message>
        <source>&amp;全画面表示</source>
        <translation>F&amp;ull screen</translation>
    </message>
    <message>
        <source>&amp;実行／一時停止</source>
        <translation>R&amp;un / pause</translation>
    </message>
    <message>
        <source>&amp;コマ送り</source>
        <translation>Single &amp;step</translation>
    </message>
    <message>
        <source>&amp;ファイル</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;プリンタ設定</source>
        <translation>Print&amp;er setup</translation>
    </message>
    <message>
        <source>&amp;プリント</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>&amp;終了</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;セットアップ</source>
        <translation>&amp;Setup</translation>
    </message>
    <message>
        <source>&amp;放射の種類</source>
        <translation>&amp;Kind of radiation</translation>
    </message>
    <message>
        <source>&amp;マウス入力</source>
        <translation>&amp;Mouse input</translation>
    </message>
    <message>
        <source>&amp;直線</source>
        <translation>&amp;Straight line</translation>
    </message>
    <message>
        <source>&amp;単振動</source>
        <translation>&amp;Harmonic oscillation</translation>
    </message>
    <message>
        <source>&amp;円軌道</source>
        <translation>&amp;Circular orbit</translation>
    </message>
    <message>
        <source>&amp;アンジュレータ</source>
        <translation>&amp;Undulator</translation>
    </message>
    <message>
        <source>&amp;レーストラック</source>
        <translation>&amp;Race track</translation>
    </message>
    <message>
        <source>&amp;偏向磁石</source>
        <translation>&amp;Bending magnet</translation>
    </message>
    <message>
        <source>&amp;計算モデルの大きさ</source>
        <translation>Size of the computation &amp;model</translation>
    </message>
    <message>
        <source>&amp;最大</source>
        <translation>&amp;Largest</translation>
    </message>
    <message>
        <source>&amp;中間</source>
        <translation>&amp;Medium</translation>
    </message>
    <message>
        <source>&amp;最小</source>
        <translation>&amp;Smallest</translation>
    </message>
    <message>
        <source>&amp;任意サイズ</source>
        <translation>&amp;Any size</translation>
    </message>
    <message>
        <source>&amp;スケール単位</source>
        <translation>S&amp;cale unit</translation>
    </message>
    <message>
        <source>&amp;プロット分解能</source>
        <translation>&amp;Plot resolution</translation>
    </message>
    <message>
        <source>&amp;物理モデル　</source>
        <translation>P&amp;hysical model</translation>
    </message>
    <message>
        <source>&amp;波の速さ</source>
        <translation>&amp;Wave speed</translation>
    </message>
    <message>
        <source>&amp;音楽効果</source>
        <translation>M&amp;usic effect</translation>
    </message>
    <message>
        <source>&amp;表示</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;表示方法</source>
        <translation>&amp;Display method</translation>
    </message>
    <message>
        <source>&amp;波面を表示</source>
        <translation>Show &amp;wavefronts</translation>
    </message>
    <message>
        <source>&amp;電気力線表示</source>
        <translation>Show electric &amp;field lines</translation>
    </message>
    <message>
        <source>&amp;ノードポイント表示</source>
        <translation>Show &amp;node points</translation>
    </message>
    <message>
        <source>&amp;拡大ウインドウ表示</source>
        <translation>Show &amp;magnified window</translation>
    </message>
    <message>
        <source>&amp;パワーパターン表示</source>
        <translation>Show &amp;power pattern</translation>
    </message>
    <message>
        <source>&amp;電界ベクトル表示</source>
        <translation>Show field &amp;vectors</translation>
    </message>
    <message>
        <source>&amp;観測点</source>
        <translation>&amp;Observer</translation>
    </message>
    <message>
        <source>&amp;言語 / Language</source>
        <translation>言語 / &amp;Language</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>日本語</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>&amp;実行</source>
        <translation>&amp;Run</translation>
    </message>
    <message>
        <source>&amp;リセット</source>
        <translation>R&amp;eset</translation>
    </message>
    <message>
        <source>&amp;一時停止</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>&amp;ヘルプ</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;キャプションと縮尺</source>
        <translation>&amp;Caption and scale bar</translation>
    </message>
    <message>
        <source>&amp;プロジェクタ用配色</source>
        <translation>P&amp;rojector theme</translation>
    </message>
    <message>
        <source>&amp;図の見方</source>
        <translation>&amp;What the picture shows</translation>
    </message>
    <message>
        <source>&amp;バージョン情報</source>
        <translation>&amp;Version information</translation>
    </message>
</context>
</TS>
