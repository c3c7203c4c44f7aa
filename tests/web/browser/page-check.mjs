// Opens the live page in Debian's chromium (headless, driven over the DevTools
// protocol) and reports what a person would see, one line each on stdout,
// taking its cues from stdin:
//   ready                       the page is connected to the program
//   <stdin: a value V>          watching, then: shown V <ms>  once "V °C" is on the page
//   curve <pixels>              lit pixels of the curve on the canvas
//   <stdin: "break">            then: break <ms>  once the break is shown
//   text <page text>            the visible text, flattened
// Usage: node page-check.mjs URL CHROMIUM [SCREENSHOT.png]
import puppeteer from "puppeteer-core";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { createInterface } from "node:readline";

const [url, chromium, screenshot] = process.argv.slice(2);
const profile = mkdtempSync(join(tmpdir(), "zorneta-chromium-"));
const lines = createInterface({ input: process.stdin })[Symbol.asyncIterator]();
const say = text => process.stdout.write(text + "\n");
const nextLine = async () => (await lines.next()).value ?? "";

const browser = await puppeteer.launch({
  executablePath: chromium,
  headless: true,
  userDataDir: profile,
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync"],
});
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 400, height: 760, deviceScaleFactor: 1 });
  await page.goto(url, { waitUntil: "load" });
  await page.waitForFunction(() => document.getElementById("link").textContent === "Связь с программой есть",
                             { timeout: 30000 });
  say("ready");

  const value = (await nextLine()).trim();
  say("watching");
  let start = Date.now();
  await page.waitForFunction(v => document.getElementById("value").textContent === v + " °C",
                             { timeout: 30000, polling: 10 }, value);
  say(`shown ${value} ${Date.now() - start}`);
  const lit = () => page.evaluate(() => {
    const c = document.getElementById("curve");
    const data = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    let n = 0;
    for (let i = 0; i < data.length; i += 4)
      if (data[i + 2] > 200 && data[i] < 120) n++; // the curve's blue
    return n;
  });
  await page.waitForFunction(() => {
    const c = document.getElementById("curve");
    const data = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    for (let i = 0; i < data.length; i += 4)
      if (data[i + 2] > 200 && data[i] < 120) return true;
    return false;
  }, { timeout: 30000, polling: 50 });
  say(`curve ${await lit()}`);

  if ((await nextLine()).trim() === "break") {
    start = Date.now();
    await page.waitForFunction(() => document.getElementById("value").textContent === "ОБРЫВ ТЕРМОПАРЫ",
                               { timeout: 30000, polling: 10 });
    say(`break ${Date.now() - start}`);
  }
  if (screenshot)
    await page.screenshot({ path: screenshot });
  const text = await page.evaluate(() => document.body.innerText.replace(/\s+/g, " "));
  say(`text ${text}`);
} finally {
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}
process.exit(0);
