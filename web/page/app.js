// The station's web page: live readings by Server-Sent Events, the five charts drawn with
// uPlot from series the station reduces to the chart's pixel width, the log, the history
// download and, after a login, the board's operations.
"use strict";

const WINDOWS = ["1h", "6h", "12h", "24h", "3J", "1s", "1M", "6M"];
const SPAN = { "1h": 3600, "6h": 21600, "12h": 43200, "24h": 86400, "3J": 259200,
  "1s": 604800, "1M": 2592000, "6M": 15552000 };
const CHARTS = [
  { id: "ChartTemp", title: "Temperatures", unit: "Temperature (°C)", series: [
    ["SeriesTemp", "Ext. temp", "#d22"], ["SeriesTP2", "Int. temp", "#26c"],
    ["SeriesPR", "Dew point", "#0a8"], ["SeriesTempHot", "Hot temp", "#e80"],
    ["SeriesOn_Off_Heater", "Heater", "#888"]] },
  { id: "ChartRH", title: "Relative Humidity", unit: "RH (%)", series: [
    ["SeriesRH", "RH ext", "#26c"], ["SeriesRHint", "RH int", "#c2c"]] },
  { id: "ChartPress", title: "Pressure", unit: "Pressure (hPA)", series: [
    ["SeriesPressure", "Pressure", "#d22"]] },
  { id: "ChartWindspeed", title: "Wind speed", unit: "Wind speed (km/h)", series: [
    ["SeriesWindspeed", "Wind speed", "#028"]] },
  { id: "ChartWindDir", title: "Wind data", unit: "Wind direction - Azimuth (°)", series: [
    ["SeriesWindDir", "Wind dir", "#808"]] },
];

let windowName = "24h";
let charts = {};  // id -> { plot, names }
let csrf = "";
const $ = (id) => document.getElementById(id);

function pad(n) { return String(n).padStart(2, "0"); }
// The charts' seconds are the station's own wall-clock time, shown as they are.
function timeText(seconds) {
  const d = new Date(seconds * 1000);
  return pad(d.getUTCDate()) + "/" + pad(d.getUTCMonth() + 1) + " " + pad(d.getUTCHours()) +
    ":" + pad(d.getUTCMinutes()) + ":" + pad(d.getUTCSeconds());
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
  const show = (cls, on) => document.querySelectorAll("." + cls).forEach((e) => { e.hidden = !on; });
  show("hot", s.hasTempHot);
  show("rhint", s.hasRHInt);
  show("weather", s.hasPressureAndWind);
  show("cooling", s.hasCooling);
  show("lensinfo", s.hasLens);
  $("heater").classList.toggle("on", s.heaterOn);
  $("autoHeat").classList.toggle("on", s.autoHeat);
  $("power").textContent = "Power: " + s.powerLevel + " %";
  $("cooling").textContent = "Cooling: " + (s.coolingMode || "None") + ", " + (s.coolingState || "");
  $("fan").classList.toggle("on", s.fanOn);
  $("lens").textContent = s.lens || "";
  $("model").textContent = s.model;
  $("serial").textContent = s.serialNumber ? "[" + s.serialNumber + "]" : "";
  $("firmware").textContent = s.firmware;
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
  return Math.max(200, $("chartList").clientWidth - 4);
}

function makeChart(def, data, names) {
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
  const colors = Object.fromEntries(def.series.map((s) => [s[0], [s[1], s[2]]]));
  const opts = {
    width: chartWidth(),
    height: Math.round(Math.min(260, Math.max(160, chartWidth() * 0.45))),
    tzDate: (ts) => uPlot.tzDate(new Date(ts * 1e3), "Etc/UTC"),
    legend: { show: false },
    scales: { x: { time: true } },
    axes: [{}, { label: def.unit }],
    series: [{}].concat(names.map((n) => ({
      label: colors[n][0], stroke: colors[n][1], width: 1, spanGaps: true,
      paths: n === "SeriesOn_Off_Heater" ? uPlot.paths.stepped({ align: 1 }) : undefined }))),
    hooks: { setCursor: [(u) => {
      const i = u.cursor.idx;
      if (i == null) { readout.textContent = ""; return; }
      const parts = [timeText(u.data[0][i])];
      for (let k = 1; k < u.data.length; k++) {
        const v = u.data[k][i];
        if (v != null) parts.push(u.series[k].label + " " + v.toFixed(1));
      }
      readout.textContent = parts.join("  ");
    }] },
  };
  const plot = new uPlot(opts, data, plotBox);
  charts[def.id] = { plot, names };
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
  for (const def of CHARTS) {
    const names = def.series.map((s) => s[0]).filter((n) => body.series[n]);
    if (names.length === 0) {
      const box = $(def.id);
      if (box) box.remove();
      delete charts[def.id];
      continue;
    }
    makeChart(def, merge(body.series, names), names);
  }
}

function appendPoint(point) {
  for (const { plot, names } of Object.values(charts)) {
    const data = plot.data.map((a) => Array.from(a));
    data[0].push(point.x);
    names.forEach((n, k) => data[k + 1].push(point[n]));
    const start = point.x - SPAN[windowName];
    while (data[0].length > 1 && data[0][0] < start) data.forEach((a) => a.shift());
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
    b.onclick = () => {
      const fields = { op: b.dataset.op };
      if (b.dataset.on !== undefined) fields.on = b.dataset.on;
      if (b.dataset.mode) fields.mode = b.dataset.mode;
      if (b.dataset.op === "aperture") fields.index = $("aperture").value;
      if (b.dataset.op === "iris") fields.steps = $("iris").value;
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
