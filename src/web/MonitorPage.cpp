// The live page of the web endpoint: everything inline, nothing fetched from
// elsewhere. It listens to /events, which sends the session ("state") and
// the curve thinned for the canvas's width ("curve").

#include "web/MonitorViews.h"

namespace zorneta::web {

QByteArray MonitorViews::page() {
    return QByteArrayLiteral(R"PAGE(<!DOCTYPE html>
<html lang="ru">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Зорнета: наблюдение</title>
<style>
body{margin:0;font-family:"DejaVu Sans",Arial,sans-serif;background:#10141a;color:#e8e8e8}
header{padding:8px 12px;background:#1c2430;font-size:15px}
main{padding:10px 12px;max-width:1100px;margin:auto}
#value{font-size:min(22vw,120px);font-weight:bold;color:#6f6;line-height:1.1}
#value.break{color:#f55;font-size:min(10vw,56px)}
#time{color:#aaa;margin-bottom:8px}
canvas{width:100%;height:45vh;background:#000;border:1px solid #333;display:block}
dl{display:grid;grid-template-columns:max-content 1fr;gap:4px 12px;margin:10px 0}
dt{color:#aaa}dd{margin:0;word-break:break-all}
.bad{color:#f55;font-weight:bold}.ok{color:#6f6}
#link{font-size:13px;color:#888}
</style>
</head>
<body>
<header>Зорнета: наблюдение за печью <span id="labels"></span></header>
<main>
<div id="value">----</div>
<div id="time">Нет показаний</div>
<canvas id="curve" aria-label="Кривая нагрева"></canvas>
<dl>
<dt>Порт</dt><dd id="line">—</dd>
<dt>Запись</dt><dd id="recording">—</dd>
<dt>Уставка тревоги</dt><dd id="alarm">—</dd>
<dt>Показаний</dt><dd id="total">0</dd>
<dt>Ошибки линии</dt><dd id="faults">нет</dd>
</dl>
<div id="ended" class="bad"></div>
<div id="link">Соединение устанавливается…</div>
</main>
<script>
"use strict";
const $ = id => document.getElementById(id);
const two = n => String(n).padStart(2, "0");
function clock(ms) {
  const d = new Date(ms);
  return two(d.getDate()) + "." + two(d.getMonth() + 1) + "." + d.getFullYear() + " " +
         two(d.getHours()) + ":" + two(d.getMinutes()) + ":" + two(d.getSeconds());
}
function size(bytes) {
  if (bytes < 1024) return bytes + " байт";
  if (bytes < 1048576) return (bytes / 1024).toFixed(1) + " КиБ";
  return (bytes / 1048576).toFixed(1) + " МиБ";
}
const lineNames = {open: "открыт, идёт приём", lost_waiting: "потерян, ожидание подключения", closed: "закрыт"};
let curve = {first: 0, points: []};
function showState(s) {
  const last = s.lastReading, temp = s.lastTemperature, v = $("value");
  if (last && last.break) {
    v.textContent = "ОБРЫВ ТЕРМОПАРЫ"; v.className = "break";
    $("time").textContent = "Обрыв в цепи термопары: " + clock(last.ms);
  } else if (temp) {
    v.textContent = temp.celsius + " °C"; v.className = "";
    $("time").textContent = "Показание № " + temp.seq + " в " + clock(temp.ms);
  }
  $("line").textContent = lineNames[s.line] || s.line;
  $("line").className = s.line === "open" ? "ok" : "bad";
  $("recording").textContent = s.recording.path ? s.recording.path + " — " + size(s.recording.bytes) : "не ведётся";
  $("alarm").textContent = s.alarm.celsius === null ? "не задана"
      : s.alarm.celsius + " °C — " + (s.alarm.reached ? "ДОСТИГНУТА" : "не достигнута");
  $("alarm").className = s.alarm.reached ? "bad" : "";
  $("total").textContent = s.total;
  const codes = Object.keys(s.faults);
  $("faults").textContent = codes.length ? codes.map(c => c + ": " + s.faults[c]).join(", ") : "нет";
  $("ended").textContent = s.ended ? "Приём завершён: " + s.ended : "";
  const names = Object.keys(s.labels);
  $("labels").textContent = names.map(k => k + "=" + s.labels[k]).join(" ");
}
function draw() {
  const c = $("curve"), ratio = window.devicePixelRatio || 1;
  const w = Math.max(1, Math.round(c.clientWidth * ratio)), h = Math.max(1, Math.round(c.clientHeight * ratio));
  if (c.width !== w || c.height !== h) { c.width = w; c.height = h; }
  const g = c.getContext("2d"), p = curve.points;
  g.fillStyle = "#000"; g.fillRect(0, 0, w, h);
  if (!p.length) return;
  let lo = Infinity, hi = -Infinity;
  for (const q of p) { lo = Math.min(lo, q[1]); hi = Math.max(hi, q[1]); }
  if (hi - lo < 1) { hi += 0.5; lo -= 0.5; }
  const span = Math.max(1, p[p.length - 1][0]), pad = 28 * ratio;
  const x = t => pad + (w - pad - 4) * t / span, y = v => h - 4 - (h - 8) * (v - lo) / (hi - lo);
  g.fillStyle = "#888"; g.font = (11 * ratio) + "px sans-serif";
  g.fillText(String(Math.round(hi)), 2, 12 * ratio); g.fillText(String(Math.round(lo)), 2, h - 4);
  g.strokeStyle = "#4af"; g.lineWidth = 1.5 * ratio; g.beginPath();
  p.forEach((q, i) => i ? g.lineTo(x(q[0]), y(q[1])) : g.moveTo(x(q[0]), y(q[1])));
  if (p.length === 1) g.lineTo(x(p[0][0]) + 2, y(p[0][1]));
  g.stroke();
}
let source = null;
function listen() {
  if (source) source.close();
  const width = Math.max(100, Math.round($("curve").clientWidth * (window.devicePixelRatio || 1)));
  source = new EventSource("events?width=" + width);
  source.addEventListener("state", e => showState(JSON.parse(e.data)));
  source.addEventListener("curve", e => { curve = JSON.parse(e.data); draw(); });
  source.onopen = () => { $("link").textContent = "Связь с программой есть"; };
  source.onerror = () => { $("link").textContent = "Нет связи с программой, переподключение…"; };
}
let resizing = 0;
window.addEventListener("resize", () => { clearTimeout(resizing); resizing = setTimeout(() => { draw(); listen(); }, 500); });
listen();
</script>
</body>
</html>
)PAGE");
}

} // namespace zorneta::web
