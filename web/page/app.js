// The station's web page: live readings by Server-Sent Events, the five charts drawn with
// uPlot from series the station reduces to the chart's pixel width, the log, the history
// download and, after a login, the board's operations.
"use strict";

const WINDOWS = ["1h", "6h", "12h", "24h", "3J", "1s", "1M", "6M"];
// Each window's reach into the past (MinX) in seconds, and the label format of its time axes.
const SPAN = { "1h": 3600, "6h": 21600, "12h": 43200, "24h": 86400, "3J": 259200,
  "1s": 604800, "1M": 2592000, "6M": 15552000 };
const LABELS = { "1h": "hh:mm:ss", "6h": "hh:mm", "12h": "hh:mm", "24h": "dd/mm hh:mm",
  "3J": "dd/mm hh", "1s": "dd/mm hh", "1M": "dd/mm", "6M": "dd/mm" };
// The window's charts: titles, value axes, the cursor readout's format and each series'
// colour and look; the curve names are the window's captions of the same readings.
const CHARTS = [
  { id: "ChartTemp", title: "Temperature (°C)", unit: "Temperature (°C)",
    readout: [2, " °C"], series: [
      ["SeriesTemp", "Outside temperature", "rgb(255,0,0)", 1, " °C"],
      ["SeriesTP2", "Inside camera", "rgb(0,0,0)", 1, " °C"],
      ["SeriesTempHot", "Hot side temperature", "rgb(0,255,0)", 1, " °C"],
      ["SeriesPR", "Dew point", "rgb(0,255,255)", 2, " °C"],
      ["SeriesOn_Off_Heater", "Heating", "rgb(128,0,255)", 2, "heater"]] },
  { id: "ChartRH", title: "Relative Humidity", unit: "RH (%)", readout: [2, " %RH"], series: [
      ["SeriesRH", "Outside humidity", "rgb(255,0,0)", 1, " %"],
      ["SeriesRHint", "Inside humidity", "rgb(0,255,0)", 1, " %"]] },
  { id: "ChartPress", title: "Pressure (hPA)", unit: "Pression (hPA)", readout: [1, " hPa"],
    series: [["SeriesPressure", "Pressure", "rgb(255,0,0)", 1, " hPa"]] },
  { id: "ChartWindspeed", title: "Wind speed (km/h)", unit: "Vitesse vent (km/h)",
    readout: [2, " km/h"], series: [
      ["SeriesWindspeed", "Wind speed", "rgb(0,0,128)", 0, " km/h", "rgb(0,128,64)", "rgb(0,128,0)"]] },
  { id: "ChartWindDir", title: "Wind direction - Azimuth (°)", unit: "Direction du vent",
    readout: [1, " °"], series: [
      ["SeriesWindDir", "Wind direction", "rgb(128,0,128)", 0, " °", "rgb(128,0,128)", "rgb(0,0,255)"]] },
];
const BLANKS = "            ";  // the twelve blanks of the window's cursor readout

let windowName = "24h";
let charts = {};  // id -> { plot, names, reach }
let csrf = "";
const $ = (id) => document.getElementById(id);

function pad(n) { return String(n).padStart(2, "0"); }
// The charts' seconds are the station's own wall-clock time, shown with a UTC clock.
function labelText(seconds, format) {
  const d = new Date(seconds * 1000);
  const parts = { dd: pad(d.getUTCDate()), mo: pad(d.getUTCMonth() + 1),
    hh: pad(d.getUTCHours()), mm: pad(d.getUTCMinutes()), ss: pad(d.getUTCSeconds()) };
  return format.replace("dd/mm", parts.dd + "/" + parts.mo).replace("hh", parts.hh)
    .replace(":mm", ":" + parts.mm).replace(":ss", ":" + parts.ss);
}
// The date-time text of the readout: the short date and the time of the reader's locale.
function dateTimeText(seconds) {
  const d = new Date(seconds * 1000);
  return d.toLocaleDateString(undefined, { timeZone: "UTC", year: "2-digit", month: "2-digit",
    day: "2-digit" }) + " " + d.toLocaleTimeString(undefined, { timeZone: "UTC", hour12: false });
}

function showFor(cls, on) {
  document.querySelectorAll("." + cls).forEach((e) => { e.hidden = !on; });
}

function showLive(s) {
  if (!s || s.readings === undefined) return;
  const link = $("link");
  link.textContent = s.connected ? (s.reconnecting ? "reconnecting" : "connected") : "not connected";
  link.className = "state" + (s.connected ? (s.reconnecting ? " searching" : " ok") : "");
  for (const [name, text] of Object.entries(s.readings)) {
    const label = $(name);
    if (label) label.textContent = text;
  }
  for (const [name, text] of Object.entries(s.captions || {})) {
    document.querySelectorAll("[data-caption='" + name + "']").forEach((e) => { e.textContent = text; });
  }
  showFor("hot", s.hasTempHot);
  showFor("rhint", s.hasRHInt);
  showFor("weather", s.hasPressureAndWind);
  showFor("cooling", s.hasCooling);
  showFor("lensinfo", s.hasLens);
  // Silver until a poll tells, then red while on and lime while off, as the window's lamps.
  const lamp = (id, on) => {
    $(id).classList.toggle("on", s.polled && on);
    $(id).classList.toggle("off", s.polled && !on);
  };
  lamp("heater", s.heaterOn);
  lamp("autoHeat", s.autoHeat);
  $("heatingHint").textContent = s.polled ? "(" + s.heatingHint + ")" : "";
  $("heater").title = s.heatingHint;
  $("coolingMode").textContent = s.coolingMode || "?";
  $("coolingState").textContent = s.coolingState || "?";
  $("fan").textContent = s.polled ? (s.fanOn ? "Yes" : "No") : "?";
  $("lens").textContent = s.lens || "?";
  $("firmware").textContent = s.firmware;
  $("model").textContent = s.modelText;
  $("counters").textContent = s.counters;
  $("integrations").textContent = s.integrations;
  // The thresholds form starts from the board's own values.
  const form = $("thresholds");
  if (s.thresholdTemp != null && form.temp.value === "") form.temp.value = s.thresholdTemp.toFixed(1);
  if (s.thresholdRH != null && form.rh.value === "") form.rh.value = s.thresholdRH.toFixed(0);
  if (form.power.value === "" && s.polled) form.power.value = s.powerLevel;
  if (s.point) appendPoint(s.point);
}

function chartWidth() {
  return Math.max(200, $("chartList").clientWidth);
}

function legendValue(look) {
  return (u, v) => {
    if (v == null) return "--";
    if (look[4] === "heater") return v > 0 ? "On" : "Off";
    return v.toFixed(1) + look[4];
  };
}

function makeChart(def, data, names, reach) {
  let box = $(def.id);
  if (!box) {
    box = document.createElement("div");
    box.id = def.id;
    box.className = "chart";
    box.innerHTML = "<h3></h3><div class='plot'></div><div class='readout'></div>";
    box.querySelector("h3").textContent = def.title;
    $("chartList").appendChild(box);
  }
  const plotBox = box.querySelector(".plot");
  plotBox.innerHTML = "";
  const readout = box.querySelector(".readout");
  const looks = Object.fromEntries(def.series.map((s) => [s[0], s]));
  const width = chartWidth();
  const format = LABELS[windowName];
  const opts = {
    width,
    height: Math.round(Math.min(280, Math.max(170, width * 0.4))),
    legend: { show: true, live: true },
    scales: { x: { time: true, range: () => [reach.min, reach.max] } },
    axes: [
      { space: format.length * 7 + 16, values: (u, splits) => splits.map((x) => labelText(x, format)) },
      { label: def.unit, size: 56 },
    ],
    series: [{ label: "Time", value: (u, x) => (x == null ? "--" : dateTimeText(x)) }].concat(
      names.map((n) => {
        const look = looks[n];
        const series = { label: look[1], stroke: look[2], width: look[3] || 1, spanGaps: true,
          value: legendValue(look) };
        if (n === "SeriesOn_Off_Heater") series.paths = uPlot.paths.stepped({ align: 1 });
        if (look[3] === 0) {  // marks alone, as the window draws the wind
          series.paths = () => null;
          series.points = { show: true, size: 4, width: 1, fill: look[5], stroke: look[6] };
        }
        return series;
      })),
    hooks: { setCursor: [(u) => {
      const { left, top } = u.cursor;
      if (left == null || left < 0 || top == null || top < 0) {
        // Off the chart, the legend names each curve with its newest value.
        readout.textContent = "";
        if (u.data[0].length > 0) u.setLegend({ idx: u.data[0].length - 1 });
        return;
      }
      // As the window's status panel: the time and the value at the cursor's height.
      const [digits, unit] = def.readout;
      const text = " " + dateTimeText(u.posToVal(left, "x")) + BLANKS +
        u.posToVal(top, "y").toFixed(digits) + unit;
      readout.textContent = text;
      $("readout").textContent = text;
    }] },
  };
  const plot = new uPlot(opts, data, plotBox);
  charts[def.id] = { plot, names, reach };
}
// The series of one chart on one time axis: each x once, a missing value null.
function merge(series, names) {
  const xs = new Set();
  for (const n of names) for (const x of series[n].x) xs.add(x);
  const x = Array.from(xs).sort((a, b) => a - b);
  const at = new Map(x.map((v, i) => [v, i]));
  const data = [x];
  for (const n of names) {
    const y = new Array(x.length).fill(null);
    series[n].x.forEach((v, i) => { y[at.get(v)] = series[n].y[i]; });
    data.push(y);
  }
  return data;
}

async function loadSeries() {
  const answer = await fetch("/api/series?window=" + encodeURIComponent(windowName) +
    "&columns=" + chartWidth());
  if (!answer.ok) return;
  const body = await answer.json();
  $("dataPoints").textContent = body.dataPoints || "";
  for (const def of CHARTS) {
    const names = def.series.map((s) => s[0]).filter((n) => body.series[n]);
    if (names.length === 0) {
      const box = $(def.id);
      if (box) box.remove();
      delete charts[def.id];
      continue;
    }
    // The window's time window: its reach into the past and its margin after the present.
    const reach = { min: body.from, max: body.to, margin: body.to - body.from - SPAN[windowName] };
    makeChart(def, merge(body.series, names), names, reach);
  }
}

// A new poll: its point joins each chart and the time window follows it, as the window's
// locked X axis does.
function appendPoint(point) {
  for (const { plot, names, reach } of Object.values(charts)) {
    const data = plot.data.map((a) => Array.from(a));
    data[0].push(point.x);
    names.forEach((n, k) => data[k + 1].push(point[n]));
    reach.min = point.x - SPAN[windowName];
    reach.max = point.x + reach.margin;
    while (data[0].length > 1 && data[0][0] < reach.min) data.forEach((a) => a.shift());
    plot.setData(data);
  }
}

function makeWindowButtons() {
  for (const name of WINDOWS) {
    const b = document.createElement("button");
    b.textContent = name;
    b.className = name === windowName ? "chosen" : "";
    b.onclick = () => {
      windowName = name;
      document.querySelectorAll("#windows button").forEach((e) => {
        e.className = e.textContent === name ? "chosen" : "";
      });
      loadSeries();
    };
    $("windows").appendChild(b);
  }
}

async function loadLog() {
  const answer = await fetch("/api/log?lines=50");
  if (answer.ok) $("log").textContent = (await answer.json()).lines.join("\n");
}

function say(text, failed) {
  $("opResult").textContent = text;
  $("opResult").className = failed ? "error" : "";
}

async function loadSession() {
  const answer = await fetch("/api/session");
  if (!answer.ok) return;
  const s = await answer.json();
  csrf = s.csrf || "";
  $("readOnly").hidden = s.passwordSet;
  $("login").hidden = !s.passwordSet || s.loggedIn;
  $("controls").hidden = !s.loggedIn;
}

async function post(path, fields) {
  const answer = await fetch(path, {
    method: "POST",
    headers: { "Content-Type": "application/x-www-form-urlencoded", "X-CSRF-Token": csrf },
    body: new URLSearchParams(fields).toString(),
  });
  let body = {};
  try { body = await answer.json(); } catch (e) { /* no JSON */ }
  return { ok: answer.ok, body };
}

async function operate(fields) {
  const { ok, body } = await post("/api/operation", fields);
  say(ok ? (body.result || "Done") : (body.error || "Refused"), !ok);
  if (!ok && body.login) loadSession();
}

function wireOperations() {
  $("login").onsubmit = async (e) => {
    e.preventDefault();
    const { ok, body } = await post("/api/login", { password: $("password").value });
    $("password").value = "";
    say(ok ? "Logged in" : body.error || "Refused", !ok);
    loadSession();
  };
  $("logout").onclick = async () => { await post("/api/logout", {}); say("Logged out"); loadSession(); };
  document.querySelectorAll("#controls button[data-op]").forEach((b) => {
    b.type = "button";
    b.onclick = () => {
      const fields = { op: b.dataset.op };
      if (b.dataset.on !== undefined) fields.on = b.dataset.on;
      if (b.dataset.mode) fields.mode = b.dataset.mode;
      if (b.dataset.op === "aperture") fields.index = $("aperture").value;
      if (b.dataset.op === "iris") fields.steps = $("iris").value;
      if (b.dataset.move) fields.move = b.dataset.move;
      if (b.dataset.field) fields.value = $(b.dataset.field).value;
      operate(fields);
    };
  });
  $("thresholds").onsubmit = (e) => {
    e.preventDefault();
    const f = new FormData($("thresholds"));
    operate({ op: "thresholds", temp: f.get("temp"), rh: f.get("rh"), power: f.get("power") });
  };
}

function start() {
  makeWindowButtons();
  wireOperations();
  fetch("/api/live").then((a) => a.json()).then(showLive).catch(() => {});
  const events = new EventSource("/api/events");
  events.onmessage = (e) => showLive(JSON.parse(e.data));
  loadSeries();
  loadLog();
  loadSession();
  setInterval(loadLog, 10000);
  let resizing;
  window.addEventListener("resize", () => {
    clearTimeout(resizing);
    resizing = setTimeout(loadSeries, 300);
  });
}

start();
