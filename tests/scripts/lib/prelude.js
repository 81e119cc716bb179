// Check helpers shared by every JScript test (the runner puts this first).
var Checks = 0, Failures = 0;

function Check(condition, what) {
    Checks++;
    if (!condition) { Failures++; WScript.Echo("FAIL: " + what); }
}

function CheckEqual(actual, expected, what) {
    Checks++;
    if (actual !== expected) {
        Failures++;
        WScript.Echo("FAIL: " + what + ": got [" + actual + "], expected [" + expected + "]");
    }
}

// Runs body, which must throw; checks the automation error's number (the
// low 16 bits of a control-facility code) and description. (JScript's error
// objects do not carry the source.)
function CheckThrows(body, number, description, what) {
    try {
        body();
    } catch (e) {
        CheckEqual(e.number & 0xFFFF, number, what + " (number)");
        if (description !== "") CheckEqual(e.description, description, what + " (description)");
        return;
    }
    Check(false, what + ": nothing was raised");
}

function Finish() {
    WScript.Echo("SCRIPT-END checks=" + Checks + " failures=" + Failures);
    WScript.Quit(Failures);
}
