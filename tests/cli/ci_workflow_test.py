#!/usr/bin/python3
"""Runs the script steps of the GitHub Actions workflow that velmora-cli ships, each as GitHub
runs it (bash --noprofile --norc -eo pipefail), against the sample pages in a project with a
.velmora.toml that fails on problems: the code-scanning step must still write its whole log and
succeed, and the annotation step must write the job summary before it fails the job.

Usage: ci_workflow_test.py VELMORA_CLI WORKFLOW EXAMPLES SCRATCH
"""
import json
import os
import shutil
import subprocess
import sys

import yaml


def main():
    cli, workflow, examples, scratch = sys.argv[1:5]
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    shutil.copytree(examples, os.path.join(scratch, "site"))
    with open(os.path.join(scratch, ".velmora.toml"), "w", encoding="utf-8") as config:
        config.write('fail_on = "problem"\n[review]\nmax-keywords = 8\n')
    summary = os.path.join(scratch, "summary.md")
    with open(workflow, encoding="utf-8") as f:
        document = yaml.safe_load(f)
    env = dict(os.environ)
    env.update(document.get("env", {}))
    env["PATH"] = os.path.dirname(os.path.abspath(cli)) + os.pathsep + env["PATH"]
    env["GITHUB_STEP_SUMMARY"] = summary
    # No one's desktop settings: the project's file decides.
    env["XDG_CONFIG_HOME"] = os.path.join(scratch, "config")

    outcomes = {}
    for job in document["jobs"].values():
        for step in job["steps"]:
            if "run" not in step or step["name"] == "Install velmora-cli":
                continue
            done = subprocess.run(
                ["bash", "--noprofile", "--norc", "-eo", "pipefail", "-c", step["run"]],
                cwd=scratch, env=env, capture_output=True, text=True, check=False)
            outcomes[step["name"]] = done
            print("%s: exit %d" % (step["name"], done.returncode))
            sys.stderr.write(done.stderr)

    failures = []
    sarif_step = outcomes.get("Results for code scanning")
    if sarif_step is None or sarif_step.returncode != 0:
        failures.append("the code-scanning step did not succeed")
    else:
        with open(os.path.join(scratch, "velmora.sarif"), encoding="utf-8") as f:
            log = json.load(f)
        if not log["runs"][0]["results"] or not log["runs"][0]["invocations"]:
            failures.append("the SARIF log has no results or no invocation")
    annotate = outcomes.get("Annotations and summary")
    if annotate is None or annotate.returncode != 1:
        failures.append("the annotation step did not fail the job on the pages' problems")
    elif "::error " not in annotate.stdout:
        failures.append("the annotation step printed no error annotation")
    if not os.path.exists(summary) or "| Page | Problem |" not in open(summary, encoding="utf-8").read():
        failures.append("the job summary was not written")
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
