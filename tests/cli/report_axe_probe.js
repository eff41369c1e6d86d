// SPDX-License-Identifier: Apache-2.0
// Injected after axe-core into a copy of a site report by the browser test: opens the rows of
// a few pages, so the state badges of their checks are shown, runs every axe rule and writes
// the violations into <pre id="axe-result"> as JSON, for --dump-dom.
(function () {
    'use strict';
    var toggles = document.querySelectorAll('#pages .toggle');
    for (var i = 0; i < toggles.length && i < 6; ++i) {
        toggles[i].click();
    }
    function report(result) {
        var pre = document.createElement('pre');
        pre.id = 'axe-result';
        pre.hidden = true;
        pre.textContent = JSON.stringify(result);
        document.body.appendChild(pre);
    }
    axe.run(document, { resultTypes: ['violations'] }).then(function (results) {
        report({
            dark: window.matchMedia('(prefers-color-scheme: dark)').matches,
            badges: document.querySelectorAll('.state').length,
            violations: results.violations.map(function (rule) {
                return {
                    id: rule.id,
                    impact: rule.impact,
                    nodes: rule.nodes.length,
                    first: rule.nodes.slice(0, 3).map(function (node) {
                        return node.target.join(' ') + ': ' + node.failureSummary;
                    })
                };
            })
        });
    }, function (error) {
        report({ error: String(error) });
    });
})();
