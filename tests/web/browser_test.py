#!/usr/bin/env python3
"""The web page in a real browser (Debian's Chromium, headless, through chromedriver)
against vesk-cli serve and vesk-board-sim: the live readings with their captions, their update at
the next poll without a reload, a drawn chart with its curves' names, the login and operations
that reach the board.

Usage: browser_test.py VESK_CLI VESK_BOARD_SIM
"""
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

LIMIT = 20  # seconds any one condition may take before the test fails


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(what, condition, limit=LIMIT):
    end = time.monotonic() + limit
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError("waited in vain for " + what)


def accepts(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=0.2):
            return True
    except OSError:
        return False


def live(base):
    with urllib.request.urlopen(base + "/api/live", timeout=5) as answer:
        return json.load(answer)


def main():
    cli, sim = sys.argv[1], sys.argv[2]
    folder = tempfile.mkdtemp(prefix="vesk-browser-")
    port = free_port()
    base = "http://127.0.0.1:%d" % port
    with open(os.path.join(folder, "VeskLevel.ini"), "w") as ini:
        ini.write("[Web]\nEnabled=1\nPort=%d\nBind=127.0.0.1\n" % port)
    subprocess.run([cli, "web", "password", "--folder", folder], input=b"dome key\n",
                   check=True, stdout=subprocess.DEVNULL)
    record = os.path.join(folder, "orders.txt")
    board = subprocess.Popen([sim, "--folder", folder, "--record", record],
                             stdout=subprocess.DEVNULL)
    serve = None
    driver = None
    try:
        wait_for("the board's port", lambda: os.path.exists(os.path.join(folder, "ports", "COM3")))
        serve = subprocess.Popen([cli, "serve", "--folder", folder, "--port", "3",
                                  "--interval", "1"], stdout=subprocess.DEVNULL)
        wait_for("the web page's port", lambda: accepts(port))

        options = webdriver.ChromeOptions()
        for argument in ["--headless=new", "--no-sandbox", "--disable-gpu",
                         "--disable-dev-shm-usage", "--window-size=1200,1600"]:
            options.add_argument(argument)
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        driver.get(base + "/")
        paint = driver.execute_script(
            "const p = performance.getEntriesByName('first-contentful-paint')[0];"
            "return p ? p.startTime : null;")
        print("first contentful paint on loopback: %s ms" % (
            "%.0f" % paint if paint is not None else "not reported"))

        text = lambda id: driver.find_element(By.ID, id).text
        # The polled outside temperature, as the station's newest state says it.
        first = wait_for("the polled outside temperature",
                         lambda: text("LabelTemp") if "°C" in text("LabelTemp")
                         and "?" not in text("LabelTemp") else None)
        polls = text("counters")
        driver.execute_script("window.notReloaded = true;")
        # The next poll shows without a reload: the counters move and the temperature is the
        # station's newest.
        wait_for("the next poll on the page", lambda: text("counters") != polls)
        wait_for("the page to follow the station",
                 lambda: text("LabelTemp") == live(base)["readings"]["LabelTemp"])
        assert driver.execute_script("return window.notReloaded === true;"), "the page reloaded"
        print("outside temperature %s, then %s" % (first, text("LabelTemp")))
        # Each value has the window's caption beside it, and each curve its name.
        captions = driver.execute_script("""
            return ['LabelTemp', 'LabelRH', 'LabelPR', 'LabeltempInsideCamera'].map(
              (id) => document.getElementById(id).previousElementSibling.textContent);""")
        assert captions == ["Outside temperature", "Outside humidity", "Dew point",
                            "Inside camera"], captions

        # A chart has drawn points: its canvas holds coloured pixels.
        drawn = wait_for("a drawn chart", lambda: driver.execute_script("""
            const canvas = document.querySelector('#ChartTemp canvas');
            if (!canvas) return 0;
            const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width,
                                                               canvas.height).data;
            let coloured = 0;
            for (let i = 0; i < pixels.length; i += 4) {
              const [r, g, b, a] = [pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]];
              if (a > 0 && Math.max(r, g, b) - Math.min(r, g, b) > 80) coloured++;
            }
            return coloured;"""))
        print("coloured pixels on the temperature chart: %d" % drawn)
        curves = driver.execute_script("""
            return Array.from(document.querySelectorAll('#ChartTemp .u-legend .u-label'))
              .map((e) => e.textContent);""")
        assert "Outside temperature" in curves and "Dew point" in curves, curves

        # A wrong password fails; the right one shows the operations.
        wait_for("the login form", lambda: driver.find_element(By.ID, "login").is_displayed())
        driver.find_element(By.ID, "password").send_keys("dome kez")
        driver.find_element(By.CSS_SELECTOR, "#login button").click()
        wait_for("the refusal", lambda: text("opResult") == "Wrong password")
        assert not driver.find_element(By.ID, "controls").is_displayed()
        driver.find_element(By.ID, "password").send_keys("dome key")
        driver.find_element(By.CSS_SELECTOR, "#login button").click()
        wait_for("the operations", lambda: driver.find_element(By.ID, "controls").is_displayed())

        # "Heater on" reaches the board.
        driver.find_element(By.CSS_SELECTOR, "button[data-op='heater'][data-on='1']").click()
        wait_for("the heater order's answer", lambda: text("opResult") == "Done: heater on")
        with open(record) as orders:
            assert "A0 01" in orders.read().split("\n"), "the board never got A0 01"

        # The lens focus moves by the offset typed, as the window's "Focus Offset (rel.)".
        offset = driver.find_element(By.ID, "focusRel")
        offset.clear()
        offset.send_keys("-300")
        driver.find_element(By.CSS_SELECTOR, "button[data-op='focus'][data-move='rel']").click()
        wait_for("the focus order's answer",
                 lambda: text("opResult") == "Done: focus offset (rel.) -300")
        with open(record) as orders:
            assert "A5 14 FE D4" in orders.read().split("\n"), "the board never got A5 14 FE D4"

        # A change without the CSRF token is refused, though the cookie goes with it.
        status = driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            fetch('/api/operation', {method: 'POST',
              headers: {'Content-Type': 'application/x-www-form-urlencoded'},
              body: 'op=heater&on=0'}).then(a => done(a.status));""")
        assert status == 403, "a change without its token answered %s" % status
        with open(record) as orders:
            assert "A0 00" not in orders.read().split("\n"), "the refused change reached the board"
        print("browser test passed")
        return 0
    finally:
        if driver is not None:
            driver.quit()
        for process in (serve, board):
            if process is not None:
                process.terminate()
                process.wait(timeout=20)
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
