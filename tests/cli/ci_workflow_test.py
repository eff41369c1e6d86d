#!/usr/bin/python3
"""Runs the script steps of the GitHub Actions workflow that velmora-cli ships, each as GitHub
runs it (bash --noprofile --norc -eo pipefail), against the sample pages in a project with a
.velmora.toml that fails on problems: the code-scanning step must still write its whole log and
succeed, and the annotation step must write the job summary before it fails the job.

The GitLab CI job runs the same way: it must write a Code Quality report whose every entry
names a page of the project and a line, and then fail the job.

Usage: ci_workflow_test.py VELMORA_CLI WORKFLOW EXAMPLES SCRATCH GITLAB_JOB
"""
import json
import os
import shutil
import subprocess
import sys

import yaml


def gitlab_failures(job_file, scratch, env):
    """Runs the GitLab job's script as GitLab does: one shell that stops at a failing line."""
    with open(job_file, encoding="utf-8") as f:
        job = yaml.safe_load(f)["velmora"]
    job_env = dict(env)
    job_env.update(job.get("variables", {}))
    done = subprocess.run(
        ["bash", "--noprofile", "--norc", "-eo", "pipefail", "-c", "\n".join(job["script"])],
        cwd=scratch, env=job_env, capture_output=True, text=True, check=False)
    print("GitLab job: exit %d" % done.returncode)
    sys.stderr.write(done.stderr)
    failures = []
    if done.returncode != 1:
        failures.append("the GitLab job did not fail on the pages' problems")
    report_file = os.path.join(scratch, job["artifacts"]["reports"]["codequality"])
    try:
        with open(report_file, encoding="utf-8") as f:
            report = json.load(f)
    except (OSError, ValueError) as error:
        return failures + ["no Code Quality report: %s" % error]
    if not report:
        failures.append("the Code Quality report is empty")
    for entry in report:
        location = entry.get("location", {})
        if (not entry.get("description") or not entry.get("check_name")
                or not entry.get("fingerprint")
                or entry.get("severity") not in ("info", "minor", "major", "critical", "blocker")
                or not os.path.isfile(os.path.join(scratch, location.get("path", "")))
                or not location.get("lines", {}).get("begin", 0) >= 1):
            failures.append("a Code Quality entry GitLab cannot place: %r" % entry)
            break
    return failures


def main():
    cli, workflow, examples, scratch, gitlab = sys.argv[1:6]
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
    failures += gitlab_failures(gitlab, scratch, env)
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
